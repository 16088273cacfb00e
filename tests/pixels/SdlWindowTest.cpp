#include "Platform/SdlWindow.h"
#include "Platform/Image.h"
#include "tests/support/VirtualDisplay.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>

using namespace ui;

namespace {

// The child's exit status when everything it checked held (a skipped child ends with 0).
constexpr int childPassed = 7;

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

} // namespace

TEST(SdlWindowSmoke, ChildShowsAFrameAndTurnsClicksIntoFingers) {
    if (!std::getenv(insideVirtualDisplay))
        GTEST_SKIP() << "runs only under the virtual display";
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

    std::optional<std::string> found =
        programOutput({"xdotool", "search", "--sync", "--name", "pixels smoke"});
    ASSERT_TRUE(found && !found->empty()) << "the window was not found";
    std::string id = found->substr(0, found->find('\n'));

    ASSERT_TRUE(programOutput({"xdotool", "mousemove", "--window", id, "100", "200", "click", "1"}));
    Events click =
        collectUntil(*window, [](const Events& e) { return contains(e, InputEvent::Type::FingerUp); });
    const InputEvent* down = find(click, InputEvent::Type::FingerDown, 0);
    ASSERT_NE(down, nullptr);
    EXPECT_EQ(down->point, (Point{50, 100}));
    EXPECT_NE(find(click, InputEvent::Type::FingerUp, 0), nullptr);
    EXPECT_FALSE(contains(click, InputEvent::Type::FingerDown, 1)) << "no modifier, no second finger";

    ASSERT_TRUE(
        programOutput({"xdotool", "keydown", "shift", "mousedown", "1", "mouseup", "1", "keyup", "shift"}));
    Events pinch =
        collectUntil(*window, [](const Events& e) { return contains(e, InputEvent::Type::FingerUp, 1); });
    const InputEvent* twin = find(pinch, InputEvent::Type::FingerDown, 1);
    ASSERT_NE(twin, nullptr);
    EXPECT_EQ(twin->point, (Point{270, 380}));
    std::_Exit(::testing::Test::HasFailure() ? 1 : childPassed);
}

TEST(SdlWindowSmoke, ShowsAFrameUnderAVirtualDisplayAndTurnsClicksIntoFingers) {
    if (std::string why = whyNoVirtualDisplay(); !why.empty())
        GTEST_SKIP() << why;
    EXPECT_EQ(runTestUnderVirtualDisplay("SdlWindowSmoke.ChildShowsAFrameAndTurnsClicksIntoFingers"),
              childPassed);
}
