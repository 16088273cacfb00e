#pragma once
// The rings of the sub-regions and the hint arrows, and the pulse that shows them. The part owns the
// title buttons and rings of the region on screen, how far each ring grows, the pulse counter and its
// repeating timer, and the four hint arrows; the viewer builds the rings of a view and tells it when a
// touch starts or stops the pulse.
//
// One repeating timer ticks every 0.85 s; a touch end sets `count` to 5 and each tick counts it down,
// so four ticks (count 5, 4, 3, 2) do something:
//
//     count     rings                               hint arrows that apply
//     5         0.2 -> 5 x sscale/500, fading out   fade in
//     4         0.2 -> 4 x sscale/500, fading out   fade out
//     3         0.2 -> 3 x sscale/500, fading out   fade in
//     2         0.2 -> 2 x sscale/500, fading out   fade out
//     0         -                                   all hidden at once

#include "Classes/Lifetime.h"
#include "Platform/Timer.h"

#include <array>
#include <functional>
#include <memory>
#include <vector>

namespace ui {
class Button;
class ImageView;
class View;
} // namespace ui

class HotSpots {
public:
    using ButtonPtr = std::shared_ptr<ui::Button>;
    using ImageViewPtr = std::shared_ptr<ui::ImageView>;

    struct Hooks {
        // Which of the four hint arrows apply: the directions a swipe would turn the figure to another
        // view.
        std::function<std::array<bool, 4>()> hintArrows;
    };

    explicit HotSpots(Hooks hooks);
    ~HotSpots();

    // Loading: the hint arrows join `host` (the viewer's view), and the pulse timer starts.
    void addTo(ui::View& host);
    void createHotArrow(int n);
    void startPulseTimer();
    // One tick of the pulse.
    void hotSpotAnimation();

    // A touch ended on the picture: the next four ticks pulse.
    void pulse() { count_ = 5; }
    // The pulse stops (its last ticks do nothing).
    void quiet() { count_ = 0; }
    void hideHintArrows();

    // A sub-region's ring (and its title button, when the region shows one) in slot `slot`, growing to
    // `grown` times the count on a tick; both join the host.
    void addRing(const ButtonPtr& titleButton, const ButtonPtr& ring, std::size_t slot, float grown);
    // The rings and title buttons of the region leave the screen.
    void removeRings();
    void showRegionButtons(bool shown);
    // Whether the rings of the view on screen pulse (the hint arrows blink all the same).
    void setHotSpotOn(bool on) { hotSpotOn_ = on; }

    const std::vector<ButtonPtr>& buttons() const { return buttons_; }
    const std::vector<ButtonPtr>& hotSpotButtons() const { return hotSpotButtons_; }
    const std::vector<float>& scaleOfHotSpot() const { return scaleOfHotSpot_; }
    const std::vector<ImageViewPtr>& hotArrows() const { return hotArrows_; }
    const ui::TimerPtr& timerForHotSpot() const { return timerForHotSpot_; }
    int count() const { return count_; }
    bool hotSpotOn() const { return hotSpotOn_; }

private:
    void pulseRings();
    void blinkHintArrows();

    Hooks hooks_;
    ui::View* host_ = nullptr;
    std::vector<ButtonPtr> buttons_;        // the title buttons of the sub-regions
    std::vector<ButtonPtr> hotSpotButtons_; // their rings
    std::vector<float> scaleOfHotSpot_ = std::vector<float>(20, 0.0f);
    std::vector<ImageViewPtr> hotArrows_;
    ui::TimerPtr timerForHotSpot_;
    bool hotSpotOn_ = true;
    int count_ = 0;
    Lifetime lifetime_;
};
