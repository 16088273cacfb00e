#include "HotSpots.h"

#include "Platform/Animation.h"
#include "Platform/Bundle.h"
#include "Platform/Button.h"
#include "Platform/ImageView.h"

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

} // namespace

HotSpots::HotSpots(Hooks hooks) : hooks_(std::move(hooks)) {}

HotSpots::~HotSpots() {
    if (timerForHotSpot_)
        timerForHotSpot_->invalidate();
}

void HotSpots::addTo(ui::View& host) {
    host_ = &host;
}

void HotSpots::createHotArrow(int n) {
    auto hint = ui::make<ui::ImageView>(ui::Rect(0, 30, 320, 420));
    hint->setImage(ui::Bundle::main().image("Arrow Hints/" + std::to_string(n) + ".png"));
    hint->setAlpha(0);
    if (auto placement = hintArrowPlacement(n))
        hint->setContentMode(*placement);
    hint->setIdentifier("hotArrows" + std::to_string(hotArrows_.size()));
    hotArrows_.push_back(hint);
    host_->addSubview(hint);
}

void HotSpots::startPulseTimer() {
    if (!timerForHotSpot_)
        timerForHotSpot_ = ui::Timer::scheduled(pulseSeconds, ui::Timer::Repeats::Yes,
                                                lifetime_.guard([this] { hotSpotAnimation(); }));
}

void HotSpots::hotSpotAnimation() {
    if (count_ >= 2) {
        if (hotSpotOn_)
            pulseRings();
        blinkHintArrows();
    }
    if (count_ == 0) {
        for (auto& hint : hotArrows_) {
            hint->removeAllAnimations();
            hint->setAlpha(0);
        }
    }
    --count_;
}

void HotSpots::pulseRings() {
    for (std::size_t k = 0; k < hotSpotButtons_.size(); ++k) {
        ui::Button& ring = *hotSpotButtons_[k];
        ring.setHidden(false);
        ring.setAlpha(1);
        ring.setTransform(ui::AffineTransform::scale(0.2, 0.2));
        double grown = count_ * (k < scaleOfHotSpot_.size() ? scaleOfHotSpot_[k] : 0.0f);
        ui::Animation::begin(pulseSeconds);
        ring.setAlpha(0);
        ring.setTransform(ui::AffineTransform::scale(grown, grown));
        ui::Animation::commit();
    }
}

// A blinking arrow fades in on the fifth and third tick before the pulse ends and out on the others.
void HotSpots::blinkHintArrows() {
    double alpha = count_ == 5 || count_ == 3 ? 1 : 0;
    ui::Animation::begin(pulseSeconds);
    std::array<bool, 4> blinking = hooks_.hintArrows();
    for (std::size_t k = 0; k < blinking.size() && k < hotArrows_.size(); ++k) {
        if (blinking[k])
            hotArrows_[k]->setAlpha(alpha);
    }
    ui::Animation::commit();
}

void HotSpots::hideHintArrows() {
    for (const auto& hintArrow : hotArrows_)
        hintArrow->setAlpha(0.0);
}

void HotSpots::addRing(const ButtonPtr& titleButton, const ButtonPtr& ring, std::size_t slot, float grown) {
    if (slot >= scaleOfHotSpot_.size())
        scaleOfHotSpot_.resize(slot + 1, 0.0f);
    scaleOfHotSpot_[slot] = grown;
    if (titleButton) {
        buttons_.push_back(titleButton);
        host_->addSubview(titleButton);
    }
    hotSpotButtons_.push_back(ring);
    host_->addSubview(ring);
}

void HotSpots::removeRings() {
    for (auto* list : {&buttons_, &hotSpotButtons_}) {
        for (const auto& button : *list)
            button->removeFromSuperview();
        list->clear();
    }
}

void HotSpots::showRegionButtons(bool shown) {
    for (const auto& button : buttons_)
        button->setHidden(!shown);
}
