// Numbered flags on the picture. They are built once per view from its "points" (design-space
// coordinates, 1.5 times the screen's, measured from the top of the picture band) and live as
// subviews of the displayed picture, so they move with it when it is panned or magnified.
#include "TorvexView.h"

#include "Platform/Animation.h"
#include "Platform/Button.h"
#include "Platform/ImageView.h"

#include "ForInfo.h"

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

} // namespace

void TorvexView::displayFlags() {
    hotSpots_.quiet();
    if (!flagsIsHidden) {
        hideFlags();
        return;
    }
    info_.hideInfo();
    index_.hideIndex();
    views_.hideViews();
    help_.hideHelp();
    if (flags.empty()) {
        if (TreeNode* current = currentViewNamed(viewTorvex))
            forFlags(current->children);
    }
    if (imageAtRest(displayedImage())) {
        ui::Animation::begin(0.35);
        bar_.show(Bar::Magnifier, true);
        ui::Animation::commit();
    } else if (scalpel) {
        scalpel->setHidden(true);
    }
    for (auto& flag : flags) {
        if (isInsideFlagBand(*flag))
            flag->setHidden(false);
    }
    bar_.showPressed(Bar::Flags, true);
    flagsIsHidden = false;
}

void TorvexView::hideFlags() {
    info_.hideInfo();
    for (auto& flag : flags)
        flag->setHidden(true);
    bar_.showPressed(Bar::Flags, false);
    if (scalpel && scalpel->currentTitle().find("- L") != std::string::npos && imageAtRest(displayedImage()))
        scalpel->setHidden(false);
    flagsIsHidden = true;
    bar_.show(Bar::Magnifier, false);
}

void TorvexView::forFlags(const NodeList& viewElements) {
    ui::ImageView* image = displayedImage();
    if (!image)
        return;
    ui::Rect frame = image->frame();
    double ox = frame.width() * 0.5 - image->center().x;
    double oy = frame.height() * 0.5 - image->center().y - 30;
    bool magnified = isMagnified();
    for (const auto& element : viewElements) {
        if (element->key != "points" || element->children.empty())
            continue;
        int flagNumber = 0;
        for (const auto& point : element->children) {
            float fx = static_cast<float>(number(*point, "x") / 1.5);
            float fy = static_cast<float>(number(*point, "y") / 1.5 - 30);
            if (magnified) {
                fx = static_cast<float>(2.0 * fx - ox);
                fy = static_cast<float>(2.0 * fy - oy);
            }
            createFlagWithNum(flagNumber, fx, fy);
            ++flagNumber;
            nodesOfFlags.push_back(point.get());
        }
    }
    // The question panel stays in front of the new flags.
    if (quiz_.isQuestionOnScreen())
        quiz_.bringQuestionPanelToFront();
}

int TorvexView::createFlagWithNum(int n, float x, float y) {
    float bx = isMagnified() ? x - 2 : x + 5;
    float by = y + 10;
    ButtonPtr flag = imageButton(std::to_string(n), FlagButton, bx, by, "flag");
    flag->setAlpha(1);
    flag->setHidden(true);
    flag->setIdentifier("flags" + std::to_string(flags.size()));
    flags.push_back(flag);
    if (ui::ImageView* image = displayedImage())
        image->addSubview(flag);
    return 1;
}

void TorvexView::moveToFlag() {
    ui::ImageView* image = displayedImage();
    if (wviewHint == -1 || !image || !isMagnified())
        return;
    // The waiting index may point past the flags of this view; there is then nothing to move to.
    if (wviewHint < 0 || static_cast<std::size_t>(wviewHint) >= flags.size())
        return;
    // The flag comes to the screen point (160, 240) at twice its size, as far as the picture can go
    // without uncovering the picture band.
    ui::Point flagCenter = flags[wviewHint]->center();
    double nx = -2 * flagCenter.x + 160;
    double ny = -2 * flagCenter.y + 30 + 210;
    ui::Rect frame = image->frame();
    double x = nx > 0 ? 0 : std::max(nx, 320 - frame.width());
    double y = ny > 30 ? 30 : std::max(ny, 420 - frame.height() + 30);
    ui::Animation::begin(0.65);
    image->setFrame({x, y, frame.width(), frame.height()});
    ui::Animation::commit();
    after(0.8, &TorvexView::waitAndDisplayHint);
}
