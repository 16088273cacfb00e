// The hotspot pulse and the hint arrows. One repeating timer ticks every 0.85 s; a touch end sets
// `count` to 5 and each tick counts it down, so four ticks (count 5, 4, 3, 2) do something:
//
//     count     rings                               hint arrows that apply
//     5         0.2 -> 5 x sscale/500, fading out   fade in
//     4         0.2 -> 4 x sscale/500, fading out   fade out
//     3         0.2 -> 3 x sscale/500, fading out   fade in
//     2         0.2 -> 2 x sscale/500, fading out   fade out
//     0         -                                   all hidden at once
//
// A hint arrow shows in which directions a swipe would turn the figure to another view; the view ring
// says which.
#include "TorvexView.h"
#include "ViewRing.h"

#include "Platform/Animation.h"
#include "Platform/Bundle.h"
#include "Platform/Button.h"
#include "Platform/ImageView.h"

#include <array>
#include <optional>
#include <string>

namespace {

constexpr double pulseSeconds = 0.85;

// Where hint arrow n (1 to 4) sits in the picture band; the picture keeps its own size.
std::optional<ui::ContentMode> hintArrowPlacement(int n) {
    switch (n) {
    case 1:
        return ui::ContentMode::Right;
    case 2:
        return ui::ContentMode::Left;
    case 3:
        return ui::ContentMode::Bottom;
    case 4:
        return ui::ContentMode::Top;
    default:
        return std::nullopt;
    }
}

void pulseRings(TorvexView& viewer) {
    for (std::size_t k = 0; k < viewer.hotSpotButtons.size(); ++k) {
        ui::Button& ring = *viewer.hotSpotButtons[k];
        ring.setHidden(false);
        ring.setAlpha(1);
        ring.setTransform(ui::AffineTransform::scale(0.2, 0.2));
        double grown = viewer.count * (k < viewer.scaleOfHotSpot.size() ? viewer.scaleOfHotSpot[k] : 0.0f);
        ui::Animation::begin(pulseSeconds);
        ring.setAlpha(0);
        ring.setTransform(ui::AffineTransform::scale(grown, grown));
        ui::Animation::commit();
    }
}

// A blinking arrow fades in on the fifth and third tick before the pulse ends and out on the others.
void blinkHintArrows(TorvexView& viewer) {
    double alpha = viewer.count == 5 || viewer.count == 3 ? 1 : 0;
    ui::Animation::begin(pulseSeconds);
    std::array<bool, 4> blinking = viewer.viewRing().hintArrows();
    for (std::size_t k = 0; k < blinking.size() && k < viewer.hotArrows.size(); ++k) {
        if (blinking[k])
            viewer.hotArrows[k]->setAlpha(alpha);
    }
    ui::Animation::commit();
}

} // namespace

void TorvexView::createHotArrow(int n) {
    auto hint = ui::make<ui::ImageView>(ui::Rect(0, 30, 320, 420));
    hint->setImage(ui::Bundle::main().image("Arrow Hints/" + std::to_string(n) + ".png"));
    hint->setAlpha(0);
    if (auto placement = hintArrowPlacement(n))
        hint->setContentMode(*placement);
    hint->setIdentifier("hotArrows" + std::to_string(hotArrows.size()));
    hotArrows.push_back(hint);
    view()->addSubview(hint);
}

void TorvexView::hotSpotAnimation() {
    if (count >= 2) {
        if (hotSpotOn)
            pulseRings(*this);
        blinkHintArrows(*this);
    }
    if (count == 0) {
        for (auto& hint : hotArrows) {
            hint->removeAllAnimations();
            hint->setAlpha(0);
        }
    }
    --count;
}
