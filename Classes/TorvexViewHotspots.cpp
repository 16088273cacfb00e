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
// A hint arrow shows in which directions a swipe would turn the figure to another view.
#include "TorvexView.h"

#include "Platform/Animation.h"
#include "Platform/Bundle.h"
#include "Platform/Button.h"
#include "Platform/ImageView.h"

#include <functional>
#include <optional>
#include <string>

namespace {

constexpr double pulseSeconds = 0.85;

bool contains(const std::string& text, const char* part) {
    return text.find(part) != std::string::npos;
}

bool isLeftName(const std::string& name) {
    return contains(name, "Lateral") || name == "Left Side";
}

bool isRightName(const std::string& name) {
    return contains(name, "Medial") || name == "Right Side" || name == "Right Lat.";
}

bool isTopName(const std::string& name) {
    return contains(name, "Superior") || contains(name, "Dorsal");
}

bool isBottomName(const std::string& name) {
    return contains(name, "Inferior") || contains(name, "Plantar");
}

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

enum HintArrow { PointsLeft = 0, PointsRight = 1, PointsUp = 2, PointsDown = 3 };

// Decides, for the view on screen, which hint arrows blink on this tick.
class HintArrowRules {
public:
    explicit HintArrowRules(const TorvexView& viewer) : viewer_(viewer), name_(nameForArrows(viewer)) {}

    void blinkApplicable(const std::function<void(HintArrow)>& blink) const {
        const std::string& v = name_;
        bool hasKeys = !viewer_.imageViews.empty();
        if (!contains(v, "Dorsal") && !contains(v, "Plantar") && !contains(v, "Superior") &&
            !contains(v, "Inferior") && !contains(v, "Explode") && v != "Posterior" && hasKeys) {
            forEachKey(isLeftName, [&] {
                if (viewer_.regionOffers("Posterior"))
                    blink(PointsLeft);
            });
        }
        if (isLeftName(v) || v == "Medial" || v == "Right Side" || v == "Right Lat." || v == "Posterior") {
            if (viewer_.regionOffers("Anterior"))
                blink(PointsRight);
        } else if (isTopName(v)) {
            blink(PointsUp);
        } else if (isBottomName(v)) {
            blink(PointsDown);
        }
        if (v == "Posterior")
            forEachKey(isRightName, [&] { blink(PointsLeft); });
        if (v == "Anterior") {
            for (const auto& [key, source] : viewer_.imageViews) {
                if (isTopName(key))
                    blink(PointsDown);
                else if (isBottomName(key))
                    blink(PointsUp);
                if (isRightName(key))
                    blink(PointsRight);
            }
        }
    }

private:
    // Derived views take the arrows of the view they hang off.
    static std::string nameForArrows(const TorvexView& viewer) {
        const std::string& v = viewer.viewTorvex;
        if (contains(v, "."))
            return viewer.Vparam;
        if (v == "Anterior Skin" || v == "Anterior Xray")
            return "Anterior";
        return v;
    }

    void forEachKey(bool (*test)(const std::string&), const std::function<void()>& action) const {
        for (const auto& [key, source] : viewer_.imageViews) {
            if (test(key))
                action();
        }
    }

    const TorvexView& viewer_;
    std::string name_;
};

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
    HintArrowRules(viewer).blinkApplicable([&](HintArrow arrowIndex) {
        if (static_cast<std::size_t>(arrowIndex) < viewer.hotArrows.size())
            viewer.hotArrows[arrowIndex]->setAlpha(alpha);
    });
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
