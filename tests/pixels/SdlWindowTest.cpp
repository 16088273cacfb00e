#include "XvfbDisplay.h"

#include "Platform/Image.h"
#include "Platform/SdlWindow.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>

using namespace ui;
using namespace pixeltest;

namespace {

using Events = std::vector<InputEvent>;

// Input from outside the process arrives when it arrives: collect until `done` or a generous limit.
Events collectUntil(SdlWindow& window, const std::function<bool(const Events&)>& done) {
    Events all;
    auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!done(all) && std::chrono::steady_clock::now() < limit) {
        for (InputEvent& event : window.waitEvent(0.1))
            all.push_back(std::move(event));
    }
    return all;
}

const InputEvent* find(const Events& events, InputEvent::Type type, int finger = 0) {
    for (const InputEvent& event : events)
        if (event.type == type && event.finger == finger)
            return &event;
    return nullptr;
}

bool contains(const Events& events, InputEvent::Type type, int finger = 0) {
    return find(events, type, finger) != nullptr;
}

// Sets an environment variable for the test's length.
class EnvironmentChange {
public:
    EnvironmentChange(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name))
            old_ = old;
        value ? setenv(name, value, 1) : unsetenv(name);
    }
    ~EnvironmentChange() { old_ ? setenv(name_, old_->c_str(), 1) : unsetenv(name_); }

private:
    const char* name_;
    std::optional<std::string> old_;
};

} // namespace

TEST(SdlWindowOpening, FailsWithAClearMessageWhenThereIsNoDisplay) {
    EnvironmentChange display("DISPLAY", nullptr), wayland("WAYLAND_DISPLAY", nullptr),
        driver("SDL_VIDEODRIVER", nullptr);
    std::string error;
    EXPECT_EQ(SdlWindow::open("no display", {320, 480}, 2, error), nullptr);
    EXPECT_NE(error.find("display"), std::string::npos) << error;
}

TEST(SdlWindowSmoke, ShowsAFrameUnderXvfbAndTurnsClicksIntoFingers) {
    std::string why;
    auto display = XvfbDisplay::start(why);
    if (!display)
        GTEST_SKIP() << "no virtual display for the window smoke test: " << why;
    std::string error;
    auto window = SdlWindow::open("pixels smoke", {320, 480}, 2, error);
    ASSERT_TRUE(window) << error;
    ImageContext frame({320, 480});
    cairo_set_source_rgb(frame.cairo(), 0.2, 0.4, 0.8);
    cairo_paint(frame.cairo());
    Image picture = frame.image();
    window->present(picture.surface());
    collectUntil(*window, [](const Events& e) { return contains(e, InputEvent::Type::Expose); });
    window->present(picture.surface());

    std::optional<std::string> found = runProgram({"xdotool", "search", "--sync", "--name", "pixels smoke"});
    if (!found)
        GTEST_SKIP() << "xdotool is not installed or failed: the frame was shown, clicks were not tried";
    ASSERT_FALSE(found->empty());
    std::string id = found->substr(0, found->find('\n'));

    ASSERT_TRUE(runProgram({"xdotool", "mousemove", "--window", id, "100", "200", "click", "1"}));
    Events click =
        collectUntil(*window, [](const Events& e) { return contains(e, InputEvent::Type::FingerUp); });
    const InputEvent* down = find(click, InputEvent::Type::FingerDown, 0);
    ASSERT_NE(down, nullptr);
    EXPECT_EQ(down->point, (Point{50, 100}));
    EXPECT_NE(find(click, InputEvent::Type::FingerUp, 0), nullptr);
    EXPECT_FALSE(contains(click, InputEvent::Type::FingerDown, 1)) << "no modifier, no second finger";

    ASSERT_TRUE(
        runProgram({"xdotool", "keydown", "shift", "mousedown", "1", "mouseup", "1", "keyup", "shift"}));
    Events pinch =
        collectUntil(*window, [](const Events& e) { return contains(e, InputEvent::Type::FingerUp, 1); });
    const InputEvent* twin = find(pinch, InputEvent::Type::FingerDown, 1);
    ASSERT_NE(twin, nullptr);
    EXPECT_EQ(twin->point, (Point{270, 380}));
}
