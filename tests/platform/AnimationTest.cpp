#include "ToolkitTest.h"

#include "Platform/Animation.h"
#include "Platform/RunLoop.h"

#include <numbers>

using namespace ui;

namespace {

class AnimationTest : public ToolkitTest {
protected:
    void advance(double seconds) { RunLoop::main().advance(seconds); }
};

TEST_F(AnimationTest, ModelValuesChangeAtOnceAndTheCallbackComesAfterExactlyTheDuration) {
    auto view = addView(window(), {0, 0, 100, 100});
    double stoppedAt = -1;
    Animation::begin(0.8);
    Animation::setDidStop([&] { stoppedAt = RunLoop::main().now(); });
    view->setAlpha(0);
    view->setCenter({160, 240});
    view->setTransform(AffineTransform::scale(2, 2));
    Animation::commit();

    EXPECT_EQ(view->alpha(), 0);
    EXPECT_EQ(view->center(), (Point{160, 240}));
    EXPECT_EQ(view->frame(), (Rect{60, 140, 200, 200}));
    advance(0.7999);
    EXPECT_EQ(stoppedAt, -1);
    advance(0.0001);
    EXPECT_DOUBLE_EQ(stoppedAt, 0.8);
    view->setAlpha(0.25);
    EXPECT_EQ(view->presentationAlpha(), 0.25) << "a change outside a block shows at once";
    EXPECT_FALSE(Animation::isRunning());
}

TEST_F(AnimationTest, ANewAnimationOfAPropertyStartsFromWhatTheScreenShows) {
    auto view = addView(window(), {0, 0, 100, 100});
    Animation::run(1.0, [&] { view->setAlpha(0); });
    advance(0.5);
    Animation::run(1.0, [&] { view->setAlpha(1); });
    EXPECT_NEAR(view->presentationAlpha(), 0.5, 1e-9);
    advance(0.5);
    EXPECT_NEAR(view->presentationAlpha(), 0.75, 1e-9);
    advance(0.5);
    EXPECT_EQ(view->presentationAlpha(), 1);
}

TEST_F(AnimationTest, NestedBlocksUseTheirOwnDurationsAndCallbacks) {
    auto outer = addView(window(), {0, 0, 10, 10});
    auto inner = addView(window(), {0, 0, 10, 10});
    std::vector<std::string> stops;
    Animation::begin(1.0);
    Animation::setDidStop([&] { stops.push_back("outer"); });
    outer->setAlpha(0);
    Animation::begin(0.2);
    Animation::setDidStop([&] { stops.push_back("inner"); });
    inner->setAlpha(0);
    Animation::commit();
    Animation::commit();
    EXPECT_FALSE(Animation::isOpen());
    advance(0.2);
    EXPECT_EQ(inner->presentationAlpha(), 0);
    EXPECT_GT(outer->presentationAlpha(), 0.9);
    advance(0.8);
    EXPECT_EQ(stops, (std::vector<std::string>{"inner", "outer"}));
}

TEST_F(AnimationTest, RemovingAViewCancelsItsAnimationsAndThoseOfItsSubviewsButNotTheCallback) {
    auto view = addView(window(), {0, 0, 10, 10});
    auto child = addView(*view, {0, 0, 5, 5});
    bool stopped = false;
    Animation::run(
        1.0,
        [&] {
            view->setCenter({100, 100}), child->setAlpha(0);
        },
        [&] { stopped = true; });
    advance(0.3);
    view->removeFromSuperview();
    EXPECT_EQ(view->presentationCenter(), (Point{100, 100}));
    EXPECT_EQ(child->presentationAlpha(), 0);
    EXPECT_FALSE(Animation::isRunning());
    advance(0.7);
    EXPECT_TRUE(stopped);
}

TEST_F(AnimationTest, AContentOffsetScrollsOverTheDurationAndARotationTurnsWithoutShrinking) {
    auto view = addView(window(), {0, 0, 100, 100});
    Animation::run(1.0, [&] {
        view->setBounds({200, 0, 100, 100});
        view->setTransform(AffineTransform::rotation(std::numbers::pi / 2));
    });
    advance(0.5);
    EXPECT_NEAR(view->presentationBounds().x(), 100, 1e-9);
    EXPECT_EQ(view->bounds().x(), 200);
    auto half = view->presentationTransform();
    EXPECT_NEAR(std::hypot(half.a, half.b), 1, 1e-9);
    EXPECT_NEAR(std::atan2(half.b, half.a), std::numbers::pi / 4, 1e-9);
}

} // namespace
