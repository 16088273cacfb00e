#include "ToolkitTest.h"

#include "Platform/Animation.h"
#include "Platform/Button.h"
#include "Platform/ImageView.h"

using namespace ui;

namespace {

using ViewTest = ToolkitTest;

TEST_F(ViewTest, SubviewsKeepTheirOrderThroughAddInsertAndRemove) {
    auto a = addView(window(), {}, "a"), b = addView(window(), {}, "b"), c = addView(window(), {}, "c");
    auto ids = [&] {
        std::string s;
        for (auto& v : window().subviews())
            s += v->identifier();
        return s;
    };
    EXPECT_EQ(ids(), "abc");
    window().insertSubview(c, 0);
    EXPECT_EQ(ids(), "cab");
    window().insertSubview(c, 1);
    EXPECT_EQ(ids(), "acb");
    window().addSubview(a);
    EXPECT_EQ(ids(), "cba");
    b->removeFromSuperview();
    b->removeFromSuperview();
    EXPECT_EQ(ids(), "ca");
    EXPECT_EQ(b->superview(), nullptr);
    window().insertSubview(b, 99);
    EXPECT_EQ(ids(), "cab");
}

TEST_F(ViewTest, AViewHasOneSuperviewAndCannotBecomeASubviewOfItselfOrOfItsSubtree) {
    auto parent = addView(window(), {}), other = addView(window(), {});
    auto child = addView(*parent, {});
    child->addSubview(parent);
    parent->addSubview(parent);
    EXPECT_EQ(parent->superview(), &window());
    EXPECT_EQ(child->subviews().size(), 0u);
    other->addSubview(child);
    EXPECT_TRUE(parent->subviews().empty());
    EXPECT_EQ(child->superview(), other.get());
}

TEST_F(ViewTest, PointsConvertThroughOffsetsTransformsAndScrolledBounds) {
    auto panel = addView(window(), {100, 100, 100, 100});
    auto inner = addView(*panel, {10, 10, 20, 20});
    EXPECT_EQ(inner->convertTo(Point{0, 0}, nullptr), (Point{110, 110}));
    EXPECT_EQ(inner->convertFrom(Point{110, 110}, nullptr), (Point{0, 0}));
    panel->setTransform(AffineTransform::scale(2, 2));
    EXPECT_EQ(panel->convertTo(Point{0, 0}, nullptr), (Point{50, 50}));
    EXPECT_EQ(inner->convertTo(Point{0, 0}, panel.get()), (Point{10, 10}));
    panel->setBounds({30, 0, 100, 100});
    EXPECT_EQ(inner->convertTo(Point{0, 0}, panel.get()), (Point{10, 10}));
    EXPECT_EQ(panel->convertTo(Point{30, 0}, nullptr), (Point{50, 50}));
}

TEST_F(ViewTest, HitTestingFindsTheFrontMostDeepestView) {
    auto back = addView(window(), {0, 0, 200, 200}, "back");
    auto front = addView(window(), {50, 50, 100, 100}, "front");
    auto deep = addView(*front, {10, 10, 10, 10}, "deep");
    EXPECT_EQ(window().hitTest({55, 55}), front.get());
    EXPECT_EQ(window().hitTest({65, 65}), deep.get());
    EXPECT_EQ(window().hitTest({10, 10}), back.get());
    EXPECT_EQ(window().hitTest({300, 400}), &window());
    EXPECT_EQ(window().hitTest({-1, 10}), nullptr);
}

TEST_F(ViewTest, HiddenTransparentNonInteractiveViewsPicturesAndDisabledControlsAreSkipped) {
    auto back = addView(window(), {0, 0, 200, 200}, "back");
    auto front = addView(window(), {0, 0, 200, 200}, "front");
    addView(*front, {0, 0, 50, 50}, "child");
    front->setHidden(true);
    EXPECT_EQ(window().hitTest({10, 10}), back.get());
    front->setHidden(false);
    front->setAlpha(0.01);
    EXPECT_EQ(window().hitTest({10, 10}), back.get());
    front->setAlpha(0.011);
    EXPECT_EQ(window().hitTest({10, 10})->identifier(), "child");
    front->setUserInteractionEnabled(false);
    EXPECT_EQ(window().hitTest({10, 10}), back.get());
    auto picture = make<ImageView>(Rect{0, 0, 100, 100});
    window().addSubview(picture);
    EXPECT_EQ(window().hitTest({10, 10}), back.get()) << "a picture lets touches through";
    auto button = make<Button>(ButtonType::Custom, Rect{0, 0, 100, 100});
    window().addSubview(button);
    EXPECT_EQ(window().hitTest({10, 10}), button.get());
    button->setEnabled(false);
    EXPECT_EQ(window().hitTest({10, 10}), back.get()) << "so does a disabled control";
    EXPECT_EQ(button->state(), ControlState::Disabled);
}

TEST_F(ViewTest, HitTestingTakesTheModelAlphaMapsThroughTransformsAndStaysInsideTheSuperview) {
    auto back = addView(window(), {0, 0, 320, 480});
    auto fading = addView(window(), {0, 0, 50, 50});
    Animation::run(1.0, [&] { fading->setAlpha(0); });
    EXPECT_EQ(window().hitTest({10, 10}), back.get());
    auto scaled = addView(window(), {100, 100, 20, 20}, "scaled");
    scaled->setTransform(AffineTransform::scale(4, 4));
    EXPECT_EQ(window().hitTest({75, 75}), scaled.get());
    EXPECT_EQ(window().hitTest({69, 69}), back.get());
    auto panel = addView(window(), {200, 200, 50, 50});
    auto overhang = addView(*panel, {25, 25, 50, 50});
    EXPECT_EQ(window().hitTest({260, 260}), back.get());
    EXPECT_EQ(window().hitTest({230, 230}), overhang.get());
}

} // namespace
