// Screens worth looking at: bubbles near each edge, the turning arrow half way, an answer alert.
// With TORVEX_SCREENSHOT_DIR set they are written there as PNG files.
#include "InteractionTest.h"

#include "Classes/ForInfo.h"
#include "Platform/Image.h"
#include "Platform/ImageView.h"

#include <cstdlib>
#include <filesystem>

class ScreenshotTest : public InteractionTest {
protected:
    // Renders the screen, and keeps it when a folder is given.
    void shoot(const std::string& name) {
        cairo_surface_t* screen = driver.render();
        ASSERT_NE(screen, nullptr);
        if (const char* folder = std::getenv("TORVEX_SCREENSHOT_DIR"))
            ui::writePng(screen, (std::filesystem::path(folder) / (name + ".png")).string());
    }
};

TEST_F(ScreenshotTest, BubblesNearTheEdgesAndInTheMiddleStayOnScreen) {
    showFlags();
    for (auto [flagIndex, name] : {std::pair{1, "bubble_left_edge"}, std::pair{2, "bubble_right_edge"},
                                   std::pair{0, "bubble_middle"}, std::pair{6, "bubble_no_latin"}}) {
        pressFlag(flagIndex);
        driver.advance(0.5);
        ui::Rect bubble = viewer().hintOfFlag->frame();
        EXPECT_GE(bubble.maxX(), 0);
        EXPECT_LE(bubble.maxX(), 320);
        shoot(name);
    }
}

TEST_F(ScreenshotTest, TheTurningArrowHalfWay) {
    changeViewTo("Lateral");
    driver.advance(0.3);
    EXPECT_TRUE(viewer().arrow->isAnimating());
    shoot("arrow_turning");
    showRegion("Test Body", "Anterior");
    changeViewTo("Superior");
    driver.advance(0.3);
    shoot("arrow_tilting");
}

TEST_F(ScreenshotTest, TheAnswerAlertOverTheDimmedScreen) {
    showFlags();
    viewer().view()->addSubview(viewer().forQuestion);
    viewer().Questions = {"Label Heart", "Label Spleen"};
    viewer().question = 1;
    for (int wrong : {6, 7, 1}) {
        pressFlag(wrong);
        driver.advance(0.5);
    }
    ASSERT_FALSE(driver.state()["alert"].is_null());
    shoot("alert_no_more_attempts");
    driver.alert("Next");
}
