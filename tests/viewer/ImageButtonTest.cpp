#include "ViewerTest.h"

#include <algorithm>
#include <cmath>

#include "Platform/Button.h"
#include "Platform/Label.h"

using ImageButtons = ViewerTest;

TEST_F(ImageButtons, aMissingPictureGivesAButtonWithoutSize) {
    auto ring = viewer().imageButton("Arm", TorvexView::HotSpotButton, 100, 200, "no such picture");
    EXPECT_TRUE(sameRect(ring->frame(), {100, 200, 0, 0}));
    auto thumbnail = viewer().imageButton("Nowhere", TorvexView::ViewButton, 53, 82, "Nowhere");
    EXPECT_TRUE(thumbnail->currentImage().empty());
    EXPECT_EQ(thumbnail->currentTitle(), "Nowhere");
}

TEST_F(ImageButtons, twoPressesOfTheBackgroundSwitchRestoreItsColourAndPicture) {
    wait(1);
    TorvexView& v = viewer();
    driver.tap(v.bar().button(Bar::BackgroundSwitch)->center());
    EXPECT_FALSE(v.bar().blackBackground());
    EXPECT_EQ(v.view()->backgroundColor(), ui::Color::white());
    EXPECT_NE(v.bar().button(Bar::BackgroundSwitch)->currentImage().fileName().find("blackButton"),
              std::string::npos);
    driver.tap(v.bar().button(Bar::BackgroundSwitch)->center());
    EXPECT_TRUE(v.bar().blackBackground());
    EXPECT_EQ(v.view()->backgroundColor(), ui::Color::black());
    EXPECT_NE(v.bar().button(Bar::BackgroundSwitch)->currentImage().fileName().find("whiteButton"),
              std::string::npos);
}

namespace {

// WCAG's contrast ratio of two opaque colours.
double contrastOf(const ui::Color& a, const ui::Color& b) {
    auto luminance = [](const ui::Color& c) {
        auto linear = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * linear(c.r) + 0.7152 * linear(c.g) + 0.0722 * linear(c.b);
    };
    double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

} // namespace

TEST_F(ImageButtons, theTitleLineKeepsItsContrastOnEitherBackground) {
    for (int press = 0; press < 2; ++press) {
        EXPECT_GE(contrastOf(viewer().bar().title()->textColor(), viewer().view()->backgroundColor()), 4.5)
            << (viewer().bar().blackBackground() ? "on black" : "on white");
        viewer().bar().changeBackgroundColor(nullptr);
    }
}
