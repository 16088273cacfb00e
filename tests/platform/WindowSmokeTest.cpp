// The real window under a virtual X display, driven with xdotool at two sizes: the start size fits
// the display, a resize letterboxes the screen, clicks land on the screen point under them, a click in
// the margin touches nothing and a click with Shift held adds the mirrored second finger. The one test
// that needs a display server; a window run without one fails at once.

#include "Platform/RunMain.h"
#include "Platform/WindowRun.h"

#include "tests/support/VirtualDisplay.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr const char* windowTitle = "toolkit-smoke-window";
// The child's exit status when everything it checked held (a skipped child ends with 0).
constexpr int childPassed = 7;

// Records where each finger went down, in screen points.
class TouchRecorder : public ui::View {
public:
    using View::View;
    void touchesBegan(const ui::TouchSet& touches) override {
        for (std::size_t i = 0; i < touches.size(); ++i)
            downs.push_back({touches[i].finger(), touches[i].locationIn(nullptr)});
    }
    std::vector<ui::FingerSample> downs;
};

// Input from another process arrives when it arrives: run the window until `done` or a generous limit.
bool runUntil(ui::WindowRun& run, const std::function<bool()>& done) {
    auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!done() && std::chrono::steady_clock::now() < limit)
        run.runFor(0.05);
    return done();
}

bool xdotool(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "xdotool");
    return programOutput(arguments).has_value();
}

std::string clickAt(TouchRecorder& screen, ui::WindowRun& run, const std::string& id, int x, int y,
                    ui::Point expected) {
    screen.downs.clear();
    if (!xdotool({"mousemove", "--window", id, std::to_string(x), std::to_string(y), "click", "1"}))
        return "xdotool failed";
    if (!runUntil(run, [&] { return !screen.downs.empty(); }))
        return "no touch";
    ui::Point got = screen.downs.front().location;
    if (std::abs(got.x - expected.x) > 1 || std::abs(got.y - expected.y) > 1)
        return "touch at " + std::to_string(got.x) + ", " + std::to_string(got.y);
    return "";
}

} // namespace

TEST(WindowSmoke, ChildDrivesTheWindowAtTwoSizes) {
    if (!std::getenv(insideVirtualDisplay))
        GTEST_SKIP() << "runs only under the virtual display";
    ui::Driver::resetToolkit();
    auto& app = ui::Application::shared();
    app.setHeadless(false);
    auto screen = ui::make<TouchRecorder>(ui::Rect(0, 0, 320, 480));
    app.window()->addSubview(screen);
    std::string error;
    auto run = ui::WindowRun::open(windowTitle, {}, error);
    ASSERT_TRUE(run) << error;
    // The display is 1024 x 1280: 2.5 times the screen is the largest step that fits.
    EXPECT_EQ(app.windowPixelSize(), (ui::Size{800, 1200}));
    std::optional<std::string> found = programOutput({"xdotool", "search", "--sync", "--name", windowTitle});
    ASSERT_TRUE(found && !found->empty()) << "the window was not found";
    std::string id = found->substr(0, found->find('\n'));
    run->runFor(0.3);
    // The first click may come before the window takes input.
    for (int attempt = 0; attempt < 5 && !clickAt(*screen, *run, id, 250, 500, {100, 200}).empty(); ++attempt)
        ;
    EXPECT_EQ(clickAt(*screen, *run, id, 250, 500, {100, 200}), "");

    ASSERT_TRUE(xdotool({"windowsize", id, "1000", "600"}));
    ASSERT_TRUE(runUntil(*run, [&] { return app.windowPixelSize() == ui::Size{1000, 600}; }));
    EXPECT_EQ(app.scale(), 1.25);
    EXPECT_EQ(clickAt(*screen, *run, id, 500, 300, {160, 240}), "");
    EXPECT_EQ(clickAt(*screen, *run, id, 400, 100, {80, 80}), "");
    EXPECT_EQ(clickAt(*screen, *run, id, 100, 300, {}), "no touch") << "the margin touches nothing";

    screen->downs.clear();
    ASSERT_TRUE(xdotool(
        {"mousemove", "--window", id, "425", "250", "keydown", "shift", "click", "1", "keyup", "shift"}));
    ASSERT_TRUE(runUntil(*run, [&] { return screen->downs.size() == 2; }));
    EXPECT_EQ(screen->downs[1].location, (ui::Point{220, 280})) << "the mirrored twin of (100, 200)";
    std::_Exit(::testing::Test::HasFailure() ? 1 : childPassed);
}

TEST(WindowSmoke, TheRealWindowFitsTheDisplayLetterboxesWhenResizedAndMapsClicksBack) {
    if (std::string why = whyNoVirtualDisplay(); !why.empty())
        GTEST_SKIP() << why;
    EXPECT_EQ(runTestUnderVirtualDisplay("WindowSmoke.ChildDrivesTheWindowAtTwoSizes"), childPassed);
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
