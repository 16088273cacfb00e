// Magnification mode: the picture doubles in size while the flags on it keep theirs, the bar controls
// give way to a notice, and the back control (captioned "BACK") is the way out.
#include "TorvexView.h"

#include "ForInfo.h"
#include "Platform/Animation.h"
#include "Platform/Button.h"
#include "Platform/ImageView.h"
#include "Platform/Label.h"

void TorvexView::zoomOnOff() {
    ui::ImageView* picture = displayedImage();
    if (!zoomOn) {
        flagBubbles_.keepBubbleThroughMagnification();
        bar_.enterMagnification();
        scalpel->setHidden(true);
        info_.hideInfo();
        hotSpots_.showRegionButtons(false);
        zoomOn = true;
        ui::Animation::run(0.65, [&] {
            picture->setTransform(ui::AffineTransform::scale(2, 2));
            flagBubbles_.magnifyFlags(true);
        });
        bar_.showMagnificationNotice();
        flagBubbles_.moveToFlag();
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
            flagBubbles_.magnifyFlags(false);
            bar_.leaveMagnification();
        },
        whileAlive([this] { endChangeLevel(); }));
    // At the top region there is nothing to go back to once the picture is at rest.
    bar_.showBackControls(!isTopRegion(root));
}
