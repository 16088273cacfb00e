#include "ToolkitTest.h"

#include "Platform/Button.h"
#include "Platform/ScrollView.h"
#include "Platform/ViewController.h"

using namespace ui;

namespace {

// Records the touches that reach it, as a viewer controller does.
class RecordingController : public ViewController {
public:
    struct Call {
        std::string phase;
        View* view;
        Point location;
    };
    std::vector<Call> calls;

    void touchesBegan(const TouchSet& t) override { record("began", t); }
    void touchesMoved(const TouchSet& t) override { record("moved", t); }
    void touchesEnded(const TouchSet& t) override { record("ended", t); }
    void touchesCancelled(const TouchSet& t) override { record("cancelled", t); }

private:
    void record(const char* phase, const TouchSet& t) {
        calls.push_back({phase, t.anyObject().view(), t.anyObject().locationIn(view().get())});
    }
};

class TouchTest : public ToolkitTest {
protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        controller = std::make_unique<RecordingController>();
        window().addSubview(controller->view());
    }
    void TearDown() override {
        ToolkitTest::TearDown();
        controller.reset();
    }
    // A strip 150 points high across the bottom of the screen, its content `width` wide.
    ScrollViewPtr addStrip(Float width) {
        auto strip = make<ScrollView>(Rect{0, 300, 320, 150});
        strip->setContentSize({width, 150});
        controller->view()->addSubview(strip);
        return strip;
    }
    Application& app = Application::shared();
    std::unique_ptr<RecordingController> controller;
};

TEST_F(TouchTest, TouchesOnPlainSubviewsReachTheControllerWithTheHitViewAsTheirView) {
    auto panel = addView(*controller->view(), {100, 100, 50, 50}, "panel");
    driver.drag({110, 120}, {300, 120}, 0.1);
    ASSERT_GE(controller->calls.size(), 3u);
    EXPECT_EQ(controller->calls.front().phase, "began");
    EXPECT_EQ(controller->calls.front().view, panel.get());
    EXPECT_EQ(controller->calls.front().location, (Point{110, 120}));
    EXPECT_EQ(controller->calls.back().phase, "ended");
    EXPECT_EQ(controller->calls.back().view, panel.get()) << "the touch stays with the view that took it";
    EXPECT_EQ(controller->calls.back().location, (Point{300, 120}));
}

TEST_F(TouchTest, AButtonTakesItsTouchFiresOnReleaseInsideOnlyAndNothingReachesTheController) {
    auto button = make<Button>(ButtonType::Custom, Rect{10, 10, 40, 40});
    button->setTitle("flag");
    Button* sender = nullptr;
    button->addAction([&](Button* b) { sender = b; });
    controller->view()->addSubview(button);

    app.beginTouches({{0, {20, 20}}});
    EXPECT_TRUE(button->isHighlighted());
    app.moveTouches({{0, {200, 200}}});
    EXPECT_FALSE(button->isHighlighted());
    app.moveTouches({{0, {30, 30}}});
    EXPECT_TRUE(button->isHighlighted());
    app.endTouches({{0, {30, 30}}});
    EXPECT_FALSE(button->isHighlighted());
    EXPECT_EQ(sender, button.get());
    EXPECT_TRUE(controller->calls.empty());
    sender = nullptr;
    driver.drag({20, 20}, {200, 200});
    EXPECT_EQ(sender, nullptr) << "released outside";
}

TEST_F(TouchTest, AButtonMayRemoveItselfInItsOwnAction) {
    auto button = make<Button>(ButtonType::Custom, Rect{10, 10, 40, 40});
    std::weak_ptr<Button> weak = button;
    button->addAction([](Button* b) { b->removeFromSuperview(); });
    controller->view()->addSubview(std::move(button));
    driver.tap({20, 20});
    EXPECT_TRUE(weak.expired());
}

TEST_F(TouchTest, AFingerOnNothingTouchableIsIgnoredUntilItLifts) {
    controller->view()->setUserInteractionEnabled(false);
    app.beginTouches({{0, {100, 100}}});
    controller->view()->setUserInteractionEnabled(true);
    app.moveTouches({{0, {110, 110}}});
    app.endTouches({{0, {110, 110}}});
    EXPECT_TRUE(controller->calls.empty());
}

TEST_F(TouchTest, ControllerTouchesGoOnToTheSuperviewChain) {
    RecordingController outer;
    outer.view()->addSubview(controller->view());
    window().addSubview(outer.view());
    struct Passing : ViewController {
    } inner;
    controller->view()->addSubview(inner.view());
    driver.tap({50, 50});
    EXPECT_EQ(controller->calls.size(), 2u);
    EXPECT_EQ(controller->calls[0].view, inner.view().get());
    EXPECT_TRUE(outer.calls.empty());
}

TEST_F(TouchTest, AFlickedScrollViewGlidesOnSlowingDownAndStopsAtTheEndOfItsContent) {
    auto strip = addStrip(1200);
    driver.drag({300, 350}, {100, 350}, 0.1);
    Float released = strip->contentOffset().x;
    EXPECT_TRUE(strip->isDecelerating());
    driver.advance(0.25);
    Float firstQuarter = strip->contentOffset().x - released;
    EXPECT_GT(firstQuarter, 300) << "glides on at the flick's speed of 2000 points a second";
    driver.advance(0.25);
    EXPECT_LT(strip->contentOffset().x - released - firstQuarter, firstQuarter) << "slowing down";
    driver.advance(3);
    EXPECT_FALSE(strip->isDecelerating());
    EXPECT_EQ(strip->contentOffset(), (Point{1200 - 320, 0})) << "stops at the end, not past it";
}

TEST_F(TouchTest, AScrollViewStopsAtTheEndsOfItsContentCancelsTheTouchItScrollsAndPassesTapsOn) {
    auto strip = addStrip(331);
    driver.drag({300, 350}, {0, 350});
    EXPECT_EQ(strip->contentOffset(), (Point{11, 0}));
    ASSERT_GE(controller->calls.size(), 2u);
    EXPECT_EQ(controller->calls.front().phase, "began");
    EXPECT_EQ(controller->calls.back().phase, "cancelled") << "for the responder chain";
    driver.drag({0, 350}, {300, 350});
    EXPECT_EQ(strip->contentOffset(), (Point{0, 0}));
    controller->calls.clear();
    driver.tap({10, 350});
    ASSERT_EQ(controller->calls.size(), 2u);
    EXPECT_EQ(controller->calls[0].view, strip.get());
}

} // namespace
