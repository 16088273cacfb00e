// Magnification mode: the picture doubles in size while the flags on it keep theirs, the bar controls
// give way to a notice, and the back control (captioned "BACK") is the way out.
#include "TorvexView.h"

#include "ForInfo.h"
#include "Platform/Animation.h"
#include "Platform/Button.h"
#include "Platform/ImageView.h"
#include "Platform/Label.h"

namespace {

// Half the picture's doubling is undone on the flags, and this nudge keeps their pins on the spot.
constexpr ui::Point kFlagShiftWhenMagnified{-2, 10};

} // namespace

void TorvexView::zoomOnOff() {
    ui::ImageView* picture = displayedImage();
    if (!zoomOn) {
        bool hintShown = hintOfFlag && hintOfFlag->alpha() != 0;
        wviewHint = !hintShown || quiz_.isQuestionOnScreen() ? -1 : viewHint;
        bar_.enterMagnification();
        scalpel->setHidden(true);
        info_.hideInfo();
        hotSpots_.showRegionButtons(false);
        zoomOn = true;
        ui::Animation::run(0.65, [&] {
            picture->setTransform(ui::AffineTransform::scale(2, 2));
            for (const auto& flag : flags) {
                flag->setTransform(ui::AffineTransform::scale(0.5, 0.5));
                flag->setCenter(flag->center() + kFlagShiftWhenMagnified);
            }
        });
        bar_.showMagnificationNotice();
        moveToFlag();
        bar_.showBackControls(true);
        return;
    }
    hotSpots_.showRegionButtons(true);
    info_.hideInfo();
    zoomOn = false;
    ui::Animation::run(
        0.65,
        [&] {
            picture->setTransform(ui::AffineTransform::identity());
            picture->setCenter(center);
            for (const auto& flag : flags) {
                flag->setTransform(ui::AffineTransform::identity());
                flag->setCenter(flag->center() - kFlagShiftWhenMagnified);
            }
            bar_.leaveMagnification();
        },
        whileAlive([this] { endChangeLevel(); }));
    // At the top region there is nothing to go back to once the picture is at rest.
    bar_.showBackControls(!isTopRegion(root));
}
