// Opens the real window under a virtual X display, clicks a button in it with xdotool and checks
// that the button's action ran.

#include "Platform/Button.h"
#include "Platform/RunMain.h"

#include "tests/support/VirtualDisplay.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

constexpr const char* windowTitle = "toolkit-smoke-window";
constexpr int clickedStatus = 7;

// The demo screen: one button that ends the run with a status the parent recognises.
void demoSetup(ui::Application& app) {
    auto button = ui::make<ui::Button>(ui::ButtonType::RoundedRect, ui::Rect{60, 200, 200, 80});
    button->setTitle("Quit");
    button->addAction([&app](ui::Button*) { app.quit(clickedStatus); });
    app.window()->addSubview(button);
}

TEST(WindowSmoke, ChildRunsTheWindowUntilTheButtonIsClicked) {
    if (!std::getenv(insideVirtualDisplay))
        GTEST_SKIP() << "runs only under the virtual display";
    auto script =
        std::filesystem::temp_directory_path() / ("toolkit-smoke-" + std::to_string(getpid()) + ".txt");
    std::ofstream(script) << "wait 20\n";
    // Clicks more than once: the first click may come before the window takes input.
    pid_t clicker = startProgram({"xdotool", "search", "--sync", "--name",
                                  std::string("^") + windowTitle + "$", "mousemove", "--window", "%1", "160",
                                  "240", "click", "--repeat", "5", "--delay", "300", "1"});
    std::string title = windowTitle, scriptOption = "--script", scriptPath = script.string(),
                scale = "--scale", one = "1";
    char* argv[] = {title.data(), scriptOption.data(), scriptPath.data(), scale.data(), one.data(), nullptr};
    int status = ui::runMain(5, argv, demoSetup);
    waitForProgram(clicker);
    std::filesystem::remove(script);
    std::_Exit(status);
}

TEST(WindowSmoke, AClickOnAButtonInTheRealWindowRunsItsAction) {
    if (std::string why = whyNoVirtualDisplay(); !why.empty())
        GTEST_SKIP() << why;
    EXPECT_EQ(runTestUnderVirtualDisplay("WindowSmoke.ChildRunsTheWindowUntilTheButtonIsClicked"),
              clickedStatus);
}

TEST(WindowSmoke, AWindowRunWithoutADisplayFailsAtOnceNamingTheWayOut) {
    std::string display = std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "";
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    std::string name = "toolkit", flag = "--scale", two = "2";
    char* argv[] = {name.data(), flag.data(), two.data(), nullptr};
    testing::internal::CaptureStderr();
    bool setupRan = false;
    int status = ui::runMain(3, argv, [&](ui::Application&) { setupRan = true; });
    std::string message = testing::internal::GetCapturedStderr();
    if (!display.empty())
        setenv("DISPLAY", display.c_str(), 1);
    EXPECT_EQ(status, 1);
    EXPECT_FALSE(setupRan);
    EXPECT_NE(message.find("--headless"), std::string::npos) << message;
    EXPECT_NE(message.find("xvfb-run"), std::string::npos) << message;
}

} // namespace
