// Touches on the picture that no control took: long straight swipes turn the figure to the
// neighbouring named view, a one-finger drag pans a magnified picture or moves the quiz question
// panel, the start of a touch fades the open panel and bubble, and its end starts the hotspot pulse
// (or, magnified, brings the waiting bubble back).
//
// A swipe is classified from where the touch began to where it ended (strict comparisons):
//
//     dy in (-200, 200)  and dx < -180   left swipe
//     dy in (-200, 200)  and dx >  180   right swipe
//     dx in (-80, 80)    and dy >  220   down swipe
//     dx in (-80, 80)    and dy < -220   up swipe
//     anything else                      no swipe
//
// The view ring says where a swipe turns to: a left swipe turns front -> left lateral -> posterior ->
// right/medial -> front, a right swipe the other way round, a down swipe tilts the front view to the
// top view and brings a bottom view back to the front, an up swipe the reverse.
#include "TorvexView.h"
#include "ViewRing.h"

#include "Platform/Animation.h"
#include "Platform/Button.h"
#include "Platform/ImageView.h"
#include "Platform/Label.h"

#include "ForInfo.h"

#include <cmath>
#include <optional>

namespace {

std::optional<ViewRing::Direction> classifySwipe(ui::Point began, ui::Point ended) {
    double dx = ended.x - began.x, dy = ended.y - began.y;
    bool mostlyHorizontal = dy > -200 && dy < 200;
    bool mostlyVertical = dx > -80 && dx < 80;
    if (mostlyHorizontal && dx < -180)
        return ViewRing::Direction::Left;
    if (mostlyHorizontal && dx > 180)
        return ViewRing::Direction::Right;
    if (mostlyVertical && dy > 220)
        return ViewRing::Direction::Down;
    if (mostlyVertical && dy < -220)
        return ViewRing::Direction::Up;
    return std::nullopt;
}

} // namespace

void TorvexView::touchesBegan(const ui::TouchSet& touches) {
    ui::Animation::begin(0.3);
    info_.fadeDetailPanel();
    flagBubbles_.fadeBubble();
    ui::Animation::commit();

    delta = {0, 0};
    if (touches.size() > 1) {
        touch1 = touches[0].locationIn(view().get());
        touch2 = touches[1].locationIn(view().get());
    }
    const ui::Touch& touch = touches.anyObject();
    touchBegan = touch.locationIn(view().get());
    if (touch.view() == quiz_.setUpPanel())
        touchBegan = {0, 0};
}

void TorvexView::touchesMoved(const ui::TouchSet& touches) {
    const ui::Touch& touch = touches.anyObject();
    ui::Point p = touch.locationIn(view().get());
    ui::View* questionPanel = quiz_.questionPanel();
    bool onQuestionPanel = questionPanel && touch.view() == questionPanel;
    if (onQuestionPanel) {
        if (quiz_.isQuestionOnScreen()) {
            if (delta.x == 0)
                delta = questionPanel->center() - p;
            questionPanel->setCenter(p + delta);
        }
        return;
    }

    ui::ImageView* image = displayedImage();
    if (!image || !isMagnified() || touches.size() != 1)
        return;
    if (distanceBetweenTwoPoints(touch1, p) < 10 || distanceBetweenTwoPoints(touch2, p) < 10) {
        delta = {0, 0};
        return;
    }
    if (delta.x == 0)
        delta = image->center() - p;
    // The picture always covers the picture band: its left edge never moves right of 0, its right
    // edge never left of 320, its top never below 30 and its bottom never above 450.
    ui::Point next = p + delta;
    ui::Rect frame = image->frame();
    if (next.x > frame.width() / 2)
        next.x = frame.width() / 2;
    else if (next.x < 320 - frame.width() / 2)
        next.x = 320 - frame.width() / 2;
    if (next.y > frame.height() / 2 + 30)
        next.y = frame.height() / 2 + 30;
    else if (next.y < 450 - frame.height() / 2)
        next.y = 450 - frame.height() / 2;
    image->setCenter(next);
}

void TorvexView::touchesEnded(const ui::TouchSet& touches) {
    const ui::Touch& touch = touches.anyObject();
    ui::Point ended = touch.locationIn(view().get());
    bool onQuestionPanel = quiz_.questionPanel() && touch.view() == quiz_.questionPanel();

    if (!onQuestionPanel && isMagnified()) {
        // A tap forgets the waiting bubble; after a pan it comes back at the flag's new place.
        if (delta.x == 0)
            flagBubbles_.setWaitingBubble(-1);
        if (!quiz_.isQuestionOnScreen())
            flagBubbles_.waitAndDisplayHint();
        hotSpots_.quiet();
        return;
    }
    if (touches.size() > 1)
        return;

    ui::ImageView* image = displayedImage();
    bool imageAtRest = !image || image->transform().a == 1.0;
    if (!info_.isDetailPanelFullyShown() && !help_.isShown() && imageAtRest)
        hotSpots_.pulse();
    if (quiz_.isSetUpOnScreen() || quiz_.isQuestionOnScreen())
        hotSpots_.quiet();
    if (quiz_.setUpPanel() && touch.view() == quiz_.setUpPanel())
        return;
    if (delta.x != 0) {
        delta = {0, 0};
        return;
    }

    if (std::optional<ViewRing::Direction> swipe = classifySwipe(touchBegan, ended)) {
        if (std::optional<std::string> next = viewRing().neighbour(*swipe))
            showView(*next);
        // A tilt may bring the figure straight back to the front: the ring is asked again.
        if (*swipe == ViewRing::Direction::Down || *swipe == ViewRing::Direction::Up) {
            if (std::optional<std::string> front = viewRing().tiltBack(*swipe))
                showView(*front);
        }
    }
    delta = {0, 0};
}

float TorvexView::distanceBetweenTwoPoints(ui::Point a, ui::Point b) {
    return static_cast<float>(std::hypot(b.x - a.x, b.y - a.y));
}
