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
// The views sit around the "Anterior" hub: a left swipe turns front -> left lateral -> posterior ->
// right/medial -> front, a right swipe the other way round, a down swipe tilts the front view to the
// top view and brings a bottom view back to the front, an up swipe the reverse.
#include "TorvexView.h"

#include "Platform/Animation.h"
#include "Platform/Button.h"
#include "Platform/ImageView.h"
#include "Platform/Label.h"

#include "ForInfo.h"

#include <cmath>
#include <functional>
#include <optional>

namespace {

enum class Swipe { None, Left, Right, Down, Up };

Swipe classifySwipe(ui::Point began, ui::Point ended) {
    double dx = ended.x - began.x, dy = ended.y - began.y;
    bool mostlyHorizontal = dy > -200 && dy < 200;
    bool mostlyVertical = dx > -80 && dx < 80;
    if (mostlyHorizontal && dx < -180)
        return Swipe::Left;
    if (mostlyHorizontal && dx > 180)
        return Swipe::Right;
    if (mostlyVertical && dy > 220)
        return Swipe::Down;
    if (mostlyVertical && dy < -220)
        return Swipe::Up;
    return Swipe::None;
}

bool contains(const std::string& text, const char* part) {
    return text.find(part) != std::string::npos;
}

bool isLeftName(const std::string& name) {
    return contains(name, "Lateral") || name == "Left Side";
}

bool isRightName(const std::string& name) {
    return name == "Medial" || name == "Right Side" || name == "Right Lat.";
}

bool isTopName(const std::string& name) {
    return contains(name, "Superior") || contains(name, "Dorsal");
}

bool isBottomName(const std::string& name) {
    return contains(name, "Inferior") || contains(name, "Plantar");
}

void setAlphaIfPresent(ui::View* view, double alpha) {
    if (view)
        view->setAlpha(alpha);
}

bool isFullyOpaque(const ui::View* view) {
    return view && view->alpha() == 1;
}

// The rules of one swipe direction. V is the current view's name, P the "v" of the view entered
// last; both are read afresh by each rule, since a rule that turns the figure changes them.
class SwipeRules {
public:
    explicit SwipeRules(TorvexView& viewer) : viewer_(viewer) {}

    void left() {
        if (contains(v(), "Medial") || contains(p(), "Medial") || p() == "Right Side" ||
            v() == "Right Side" || v() == "Right Lat.")
            goToView("Anterior");
        else if (isFront())
            goToFirstKey(isLeftName);
        else if (isLeft())
            goToViewIfOffered("Posterior");
        else if (v() == "Posterior" || p() == "Posterior")
            goToFirstKey(isRightName);
    }

    void right() {
        if (isFront()) {
            goToFirstKey(isRightName);
        } else if (isLeft()) {
            goToViewIfOffered("Anterior");
        } else if (contains(v(), "Posterior") || contains(p(), "Posterior")) {
            // Re-enters the current view when the region has no left view.
            viewer_.oldViewTorvex = v();
            if (auto key = firstKey(
                    [](const std::string& k) { return contains(k, "Left") || contains(k, "Lateral"); }))
                viewer_.viewTorvex = *key;
            viewer_.enterToPart(nullptr);
        } else if (v() == "Medial" || p() == "Medial" || p() == "Right Side" || v() == "Right Side" ||
                   v() == "Right Lat.") {
            goToViewIfOffered("Posterior");
        }
    }

    void down() {
        if (auto key = firstKey(isTopName); key && isFront())
            goToView(*key);
        if (contains(v(), "Inferior") || contains(p(), "Inferior") || contains(v(), "Plantar"))
            goToView("Anterior");
    }

    void up() {
        if (auto key = firstKey(isBottomName); key && isFront())
            goToView(*key);
        if (contains(v(), "Superior") || contains(p(), "Superior") || contains(v(), "Dorsal"))
            goToView("Anterior");
    }

private:
    const std::string& v() const { return viewer_.viewTorvex; }
    const std::string& p() const { return viewer_.Vparam; }

    bool isFront() const {
        return v() == "Anterior" || v() == "Anterior Skin" || v() == "Anterior Xray" || p() == "Anterior";
    }
    bool isLeft() const { return isLeftName(v()) || isLeftName(p()); }

    std::optional<std::string> firstKey(const std::function<bool(const std::string&)>& test) const {
        for (const auto& [name, source] : viewer_.imageViews) {
            if (test(name))
                return name;
        }
        return std::nullopt;
    }

    void goToView(const std::string& name) {
        viewer_.oldViewTorvex = viewer_.viewTorvex;
        viewer_.viewTorvex = name;
        viewer_.enterToPart(nullptr);
    }
    void goToViewIfOffered(const std::string& name) {
        if (viewer_.regionOffers(name))
            goToView(name);
    }
    void goToFirstKey(const std::function<bool(const std::string&)>& test) {
        if (auto key = firstKey(test))
            goToView(*key);
    }

    TorvexView& viewer_;
};

} // namespace

void TorvexView::touchesBegan(const ui::TouchSet& touches) {
    ui::Animation::begin(0.3);
    if (forInfo && forInfo->alpha() != 0)
        forInfo->setAlpha(0);
    if (static_cast<unsigned>(viewHint) < flags.size()) {
        setAlphaIfPresent(labelForFlagLatin.get(), 0);
        setAlphaIfPresent(labelForFlag.get(), 0);
        setAlphaIfPresent(hintOfFlag.get(), 0);
        setAlphaIfPresent(infoButtonOfHint.get(), 0);
    }
    ui::Animation::commit();

    delta = {0, 0};
    if (touches.size() > 1) {
        touch1 = touches[0].locationIn(view().get());
        touch2 = touches[1].locationIn(view().get());
    }
    const ui::Touch& touch = touches.anyObject();
    touchBegan = touch.locationIn(view().get());
    if (viewForQuiz && touch.view() == viewForQuiz.get())
        touchBegan = {0, 0};
}

void TorvexView::touchesMoved(const ui::TouchSet& touches) {
    const ui::Touch& touch = touches.anyObject();
    ui::Point p = touch.locationIn(view().get());
    bool onQuestionPanel = forQuestion && touch.view() == forQuestion.get();
    if (onQuestionPanel) {
        if (isOnScreen(forQuestion.get())) {
            if (delta.x == 0)
                delta = forQuestion->center() - p;
            forQuestion->setCenter(p + delta);
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
    bool onQuestionPanel = forQuestion && touch.view() == forQuestion.get();

    if (!onQuestionPanel && isMagnified()) {
        // A tap forgets the waiting bubble; after a pan it comes back at the flag's new place.
        if (delta.x == 0)
            wviewHint = -1;
        if (!isOnScreen(forQuestion.get()))
            waitAndDisplayHint();
        count = 0;
        return;
    }
    if (touches.size() > 1)
        return;

    ui::ImageView* image = displayedImage();
    bool imageAtRest = !image || image->transform().a == 1.0;
    if (!isFullyOpaque(forInfo.get()) && !isFullyOpaque(helpView1.get()) && !isFullyOpaque(helpView2.get()) &&
        imageAtRest)
        count = 5;
    if (isOnScreen(viewForQuiz.get()) || isOnScreen(forQuestion.get()))
        count = 0;
    if (viewForQuiz && touch.view() == viewForQuiz.get())
        return;
    if (delta.x != 0) {
        delta = {0, 0};
        return;
    }

    SwipeRules rules(*this);
    switch (classifySwipe(touchBegan, ended)) {
    case Swipe::Left:
        rules.left();
        break;
    case Swipe::Right:
        rules.right();
        break;
    case Swipe::Down:
        rules.down();
        break;
    case Swipe::Up:
        rules.up();
        break;
    case Swipe::None:
        break;
    }
    delta = {0, 0};
}

float TorvexView::distanceBetweenTwoPoints(ui::Point a, ui::Point b) {
    return static_cast<float>(std::hypot(b.x - a.x, b.y - a.y));
}
