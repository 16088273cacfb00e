// The real window under a virtual X display, driven with xdotool: clicks map back to screen points at two
// sizes, and shown screens agree with the headless composite, on the processor and the graphics card,
// which gives back the textures of pictures no longer shown.

#include "Platform/ImageView.h"
#include "Platform/ScrollView.h"
#include "Platform/WindowRun.h"

#include "ToolkitTest.h"
#include "tests/support/CommandRun.h"
#include "tests/support/PictureBytes.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string_view>

namespace {

constexpr const char* windowTitle = "toolkit-smoke-window";
// The child test, run again by this program under xvfb-run, knows itself by this in its environment.
constexpr const char* insideVirtualDisplay = "TORVEX_TEST_UNDER_XVFB";
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

bool xdotool(const std::vector<std::string>& arguments) {
    std::string line = "xdotool";
    for (const std::string& argument : arguments)
        line += " " + argument;
    return runCommand(line + " >/dev/null 2>&1").status == 0;
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

// A picture with smooth shading and a hard edge, so that sampling and blending both show.
ui::Image shadedPicture(ui::Size size, double hue) {
    ui::ImageContext context(size, 2);
    cairo_t* cr = context.cairo();
    cairo_pattern_t* gradient = cairo_pattern_create_linear(0, 0, size.width, size.height);
    cairo_pattern_add_color_stop_rgb(gradient, 0, hue, 0.3, 1 - hue);
    cairo_pattern_add_color_stop_rgb(gradient, 1, 1 - hue, 0.8, hue);
    cairo_set_source(cr, gradient);
    cairo_paint(cr);
    cairo_pattern_destroy(gradient);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_rectangle(cr, size.width / 4, size.height / 4, size.width / 2, size.height / 2);
    cairo_fill(cr);
    return context.image();
}

// Screens that exercise what the compositors do: pictures crossing at partial alpha under a turned and
// scaled one, a translucent panel with several layers (a group), a clipping scroll view scrolled.
std::vector<std::function<void(ui::View&)>> comparedScreens() {
    auto crossFade = [](ui::View& root) {
        auto under = ui::make<ui::ImageView>(ui::Rect(0, 0, 320, 480));
        under->setImage(shadedPicture({320, 480}, 0.2));
        auto over = ui::make<ui::ImageView>(ui::Rect(0, 0, 320, 480));
        over->setImage(shadedPicture({320, 480}, 0.9));
        over->setAlpha(0.35);
        root.addSubview(under);
        root.addSubview(over);
        root.addSubview(whiteTextLabel({20, 20, 280, 30}, "Musculus deltoideus"));
        auto turned = ui::make<ui::ImageView>(shadedPicture({120, 80}, 0.5));
        turned->setCenter({160, 240});
        turned->setTransform(ui::AffineTransform::scale(1.5, 1.5).rotated(0.3));
        root.addSubview(turned);
    };
    auto panels = [](ui::View& root) {
        auto panel = ui::make<ui::View>(ui::Rect(20, 60, 280, 300));
        panel->setBackgroundColor(ui::Color::rgb255(40, 80, 160));
        panel->setAlpha(0.6);
        panel->addSubview(whiteTextLabel({10, 10, 260, 24}, "Thorax"));
        auto list = ui::make<ui::ScrollView>(ui::Rect(10, 50, 260, 200));
        list->setBackgroundColor(ui::Color::rgb255(230, 230, 230));
        list->setContentSize({260, 800});
        for (int row = 0; row < 20; ++row) {
            auto label = whiteTextLabel({10, 40.0 * row, 240, 36}, "Row " + std::to_string(row));
            label->setTextColor(ui::Color::black());
            list->addSubview(label);
        }
        list->setContentOffset({0, 90});
        panel->addSubview(list);
        root.addSubview(panel);
    };
    return {crossFade, panels};
}

std::string windowId() {
    CommandRun found = runCommand(std::string("timeout 10 xdotool search --sync --name ") + windowTitle);
    return found.status == 0 ? found.output.substr(0, found.output.find('\n')) : "";
}

// Replaces the window's views with the screen `build` makes; false when no frame showed it.
bool show(ui::WindowRun& run, const std::function<void(ui::View&)>& build) {
    ui::View& root = *ui::Application::shared().window();
    for (auto& view : std::vector(root.subviews()))
        view->removeFromSuperview();
    build(root);
    auto drawnBefore = run.framesDrawn();
    return runUntil(run, [&] { return run.framesDrawn() > drawnBefore; });
}

// SDL's count of its allocations still held after showing every screen `rounds` times.
int allocationsAfterShowing(ui::WindowRun& run, int rounds) {
    for (int round = 0; round < rounds; ++round) {
        for (auto& build : comparedScreens())
            show(run, build);
    }
    return SDL_GetNumAllocations();
}

// Shows each screen in the window at scale 2 and compares its read-back pixels with the headless frame.
void compareWithHeadless(ui::WindowRun& run, const std::string& id, bool onGpu) {
    auto& app = ui::Application::shared();
    ASSERT_TRUE(xdotool({"windowsize", id, "640", "960"}));
    ASSERT_TRUE(runUntil(run, [&] { return app.scale() == 2; }));
    ASSERT_EQ(run.window().compositesOnGpu(), onGpu) << "renderer " << run.window().rendererName();
    run.window().setKeepsShownFrames(true);
    for (auto& build : comparedScreens()) {
        ASSERT_TRUE(show(run, build));
        ui::Driver driver;
        cairo_surface_t* headless = driver.render();
        EXPECT_EQ(testpictures::pixelsDiffering(run.window().lastShownFrame(), headless, 8), 0);
    }
}

} // namespace

TEST(WindowSmoke, ChildDrivesTheWindowAtTwoSizes) {
    if (!std::getenv(insideVirtualDisplay))
        GTEST_SKIP() << "runs only under the virtual display";
    ui::Driver::resetToolkit();
    auto& app = ui::Application::shared();
    app.setHeadless(false);
    // The display starts afresh when its last client leaves: the second window must not find it doing so.
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0);
    auto screen = ui::make<TouchRecorder>(ui::Rect(0, 0, 320, 480));
    app.window()->addSubview(screen);
    std::string error;
    auto run = ui::WindowRun::open(windowTitle, {}, error);
    ASSERT_TRUE(run) << error;
    // The display is 1024 x 1280: 2.5 times the screen is the largest step that fits.
    EXPECT_EQ(app.windowPixelSize(), (ui::Size{800, 1200}));
    std::string id = windowId();
    ASSERT_FALSE(id.empty()) << "the window was not found";
    run->runFor(0.3);
    // The first click may come before the window takes input.
    for (int attempt = 0; attempt < 5 && !clickAt(*screen, *run, id, 250, 500, {100, 200}).empty(); ++attempt)
        ;
    EXPECT_EQ(clickAt(*screen, *run, id, 250, 500, {100, 200}), "");

    ASSERT_TRUE(xdotool({"windowsize", id, "1000", "600"}));
    ASSERT_TRUE(runUntil(*run, [&] { return app.windowPixelSize() == ui::Size{1000, 600}; }));
    EXPECT_EQ(app.scale(), 1.25);
    EXPECT_EQ(clickAt(*screen, *run, id, 500, 300, {160, 240}), "");
    EXPECT_EQ(clickAt(*screen, *run, id, 100, 300, {}), "no touch") << "the margin touches nothing";

    screen->downs.clear();
    ASSERT_TRUE(xdotool(
        {"mousemove", "--window", id, "425", "250", "keydown", "shift", "click", "1", "keyup", "shift"}));
    ASSERT_TRUE(runUntil(*run, [&] { return screen->downs.size() == 2; }));
    EXPECT_EQ(screen->downs[1].location, (ui::Point{220, 280})) << "the mirrored twin of (100, 200)";
    compareWithHeadless(*run, id, false);
    // The sanitizer tree forces SDL's software renderer, which cannot composite layers (and loads no OpenGL).
    if (const char* driver = std::getenv("SDL_RENDER_DRIVER");
        !driver || std::string_view(driver) != "software") {
        run.reset();
        setenv("TORVEX_GPU_COMPOSITING", "1", 1);
        run = ui::WindowRun::open(windowTitle, {}, error);
        ASSERT_TRUE(run) << error;
        id = windowId();
        ASSERT_FALSE(id.empty()) << "the second window was not found";
        compareWithHeadless(*run, id, true);
        int settled = allocationsAfterShowing(*run, 2);
        EXPECT_LE(allocationsAfterShowing(*run, 4), settled + 16) << "pictures gone give their textures back";
    }
    std::_Exit(::testing::Test::HasFailure() ? 1 : childPassed);
}

TEST(WindowSmoke, TheRealWindowFitsTheDisplayLetterboxesWhenResizedAndMapsClicksBack) {
    for (const char* program : {"xvfb-run", "Xvfb", "xdotool"}) {
        if (runCommand(std::string("command -v ") + program + " >/dev/null").status != 0)
            GTEST_SKIP() << "the window test needs " << program;
    }
    CommandRun child =
        runCommand(std::string(insideVirtualDisplay) + "=1 xvfb-run -a -s '-screen 0 1024x1280x24' '" +
                   std::filesystem::read_symlink("/proc/self/exe").string() +
                   "' --gtest_filter=WindowSmoke.ChildDrivesTheWindowAtTwoSizes 2>&1");
    EXPECT_EQ(child.status, childPassed) << child.output;
}
