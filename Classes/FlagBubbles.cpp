// Numbered flags on the picture. They are built once per view from its "points" (design-space
// coordinates, 1.5 times the screen's, measured from the top of the picture band) and live as
// subviews of the displayed picture, so they move with it when it is panned or magnified.
#include "FlagBubbles.h"

#include "Classes/Quiz.h"
#include "Classes/TreeNode.h"
#include "Platform/Animation.h"
#include "Platform/Button.h"
#include "Platform/ImageView.h"
#include "Platform/Timer.h"

#include <algorithm>
#include <string>

namespace {

bool imageAtRest(const ui::ImageView* image) {
    return !image || image->transform().a == 1.0;
}

// Flags too close to the top or bottom of the picture band would hide under the bars.
bool isInsideFlagBand(const ui::Button& flag) {
    return flag.center().y > 38 && flag.center().y < 435;
}

// Half the picture's doubling is undone on the flags, and this nudge keeps their pins on the spot.
constexpr ui::Point kFlagShiftWhenMagnified{-2, 10};

} // namespace

FlagBubbles::FlagBubbles(Hooks hooks) : hooks_(std::move(hooks)) {}

FlagBubbles::~FlagBubbles() = default;

void FlagBubbles::addTo(ui::View& host) {
    host_ = &host;
}

void FlagBubbles::after(double seconds, void (FlagBubbles::*step)()) {
    ui::Timer::scheduled(seconds, ui::Timer::Repeats::No, lifetime_.guard([this, step] { (this->*step)(); }));
}

void FlagBubbles::displayFlags() {
    hooks_.quietRings();
    if (!flagsIsHidden_) {
        hideFlags();
        return;
    }
    hooks_.hideInfo();
    hooks_.closeOtherPanels();
    if (flags_.empty()) {
        if (const TreeNode* current = hooks_.currentView())
            forFlags(current->children);
    }
    if (imageAtRest(hooks_.displayedImage())) {
        ui::Animation::begin(0.35);
        hooks_.showMagnifier(true);
        ui::Animation::commit();
    } else {
        hooks_.showScalpel(false);
    }
    for (auto& flag : flags_) {
        if (isInsideFlagBand(*flag))
            flag->setHidden(false);
    }
    hooks_.showButtonPressed(true);
    flagsIsHidden_ = false;
}

void FlagBubbles::hideFlags() {
    hooks_.hideInfo();
    for (auto& flag : flags_)
        flag->setHidden(true);
    hooks_.showButtonPressed(false);
    if (imageAtRest(hooks_.displayedImage()))
        hooks_.showScalpel(true);
    flagsIsHidden_ = true;
    hooks_.showMagnifier(false);
}

void FlagBubbles::putFlagsAway() {
    for (const auto& flag : flags_)
        flag->setHidden(true);
    hooks_.showButtonPressed(false);
    flagsIsHidden_ = true;
    hooks_.showMagnifier(false);
}

void FlagBubbles::removeFlags() {
    tempName_.clear();
    tempNameSet_ = false;
    wviewHint_ = -1;
    if (!flags_.empty()) {
        hideFlags();
        for (const auto& flag : flags_)
            flag->removeFromSuperview();
        hooks_.showButtonPressed(false);
        flags_.clear();
    }
    flagsIsHidden_ = true;
    nodesOfFlags_.clear();
}

void FlagBubbles::forFlags(const NodeList& viewElements) {
    ui::ImageView* image = hooks_.displayedImage();
    if (!image)
        return;
    ui::Rect frame = image->frame();
    double ox = frame.width() * 0.5 - image->center().x;
    double oy = frame.height() * 0.5 - image->center().y - 30;
    bool magnified = hooks_.isMagnified();
    for (const auto& element : viewElements) {
        if (element->key != "points" || element->children.empty())
            continue;
        int flagNumber = 0;
        for (const auto& point : element->children) {
            ui::Point place = hooks_.designPlace(*point);
            float fx = static_cast<float>(static_cast<float>(place.x) / 1.5);
            float fy = static_cast<float>(static_cast<float>(place.y) / 1.5 - 30);
            if (magnified) {
                fx = static_cast<float>(2.0 * fx - ox);
                fy = static_cast<float>(2.0 * fy - oy);
            }
            createFlagWithNum(flagNumber, fx, fy);
            ++flagNumber;
            nodesOfFlags_.push_back(point.get());
        }
    }
    // The question panel stays in front of the new flags.
    Quiz& quiz = hooks_.quiz();
    if (quiz.isQuestionOnScreen())
        quiz.bringQuestionPanelToFront();
}

int FlagBubbles::createFlagWithNum(int n, float x, float y) {
    float bx = hooks_.isMagnified() ? x - 2 : x + 5;
    float by = y + 10;
    ButtonPtr flag = hooks_.makeFlag(std::to_string(n), bx, by);
    flag->setAlpha(1);
    flag->setHidden(true);
    flag->setIdentifier("flags" + std::to_string(flags_.size()));
    flags_.push_back(flag);
    if (ui::ImageView* image = hooks_.displayedImage())
        image->addSubview(flag);
    return 1;
}

void FlagBubbles::magnifyFlags(bool magnified) {
    for (const auto& flag : flags_) {
        if (magnified) {
            flag->setTransform(ui::AffineTransform::scale(0.5, 0.5));
            flag->setCenter(flag->center() + kFlagShiftWhenMagnified);
        } else {
            flag->setTransform(ui::AffineTransform::identity());
            flag->setCenter(flag->center() - kFlagShiftWhenMagnified);
        }
    }
}

void FlagBubbles::keepBubbleThroughMagnification() {
    bool hintShown = hintOfFlag_ && hintOfFlag_->alpha() != 0;
    wviewHint_ = !hintShown || hooks_.quiz().isQuestionOnScreen() ? -1 : viewHint_;
}

void FlagBubbles::moveToFlag() {
    ui::ImageView* image = hooks_.displayedImage();
    if (wviewHint_ == -1 || !image || !hooks_.isMagnified())
        return;
    // The waiting index may point past the flags of this view; there is then nothing to move to.
    if (wviewHint_ < 0 || static_cast<std::size_t>(wviewHint_) >= flags_.size())
        return;
    // The flag comes to the screen point (160, 240) at twice its size, as far as the picture can go
    // without uncovering the picture band.
    ui::Point flagCenter = flags_[wviewHint_]->center();
    double nx = -2 * flagCenter.x + 160;
    double ny = -2 * flagCenter.y + 30 + 210;
    ui::Rect frame = image->frame();
    double x = nx > 0 ? 0 : std::max(nx, 320 - frame.width());
    double y = ny > 30 ? 30 : std::max(ny, 420 - frame.height() + 30);
    ui::Animation::begin(0.65);
    image->setFrame({x, y, frame.width(), frame.height()});
    ui::Animation::commit();
    after(0.8, &FlagBubbles::waitAndDisplayHint);
}

void FlagBubbles::openBubbleOfPoint(const TreeNode& point, const NodeList& viewElements) {
    forFlags(viewElements);
    auto found = std::find(nodesOfFlags_.begin(), nodesOfFlags_.end(), &point);
    wviewHint_ = static_cast<int>(found - nodesOfFlags_.begin());
    after(0.5, &FlagBubbles::waitAndDisplayHint);
}
