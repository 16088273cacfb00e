// Flags are built once per view on the displayed picture, shown inside the picture band only, and
// magnification brings the picture to the flag whose bubble waits.
#include "tests/support/TestViewer.h"

#include "Platform/Button.h"
#include "Platform/ImageView.h"
#include "Platform/Label.h"

class FlagTest : public testviewer::LoadedViewerTest {
protected:
    FlagTest() : LoadedViewerTest("interaction") {}
};

TEST_F(FlagTest, FlagsAreShownOnThePictureInsideTheBandOnly) {
    showFlags();
    ASSERT_EQ(bubbles().flags().size(), 10u);
    ASSERT_EQ(bubbles().nodesOfFlags().size(), 10u);
    EXPECT_EQ(flag(0).center(), (ui::Point{165, 190}));
    EXPECT_EQ(flag(0).currentTitle(), "0");
    EXPECT_EQ(flag(0).superview(), &picture()) << "flags move with the picture";
    EXPECT_FALSE(flag(0).isHidden());
    EXPECT_EQ(flag(3).center().y, 38);
    EXPECT_TRUE(flag(3).isHidden());
    EXPECT_EQ(flag(4).center().y, 39);
    EXPECT_FALSE(flag(4).isHidden());
    EXPECT_EQ(flag(5).center().y, 435);
    EXPECT_TRUE(flag(5).isHidden());
    EXPECT_FALSE(bubbles().flagsIsHidden());
    EXPECT_FALSE(viewer().bar().button(Bar::Magnifier)->isHidden());
    EXPECT_NE(viewer().bar().button(Bar::Flags)->image().fileName().find("flag pressed"), std::string::npos);
}

TEST_F(FlagTest, TheFlagsButtonTogglesFlagsOffAndTheyAreNotBuiltAgain) {
    showFlags();
    ui::Button* first = &flag(0);
    bubbles().displayFlags();
    EXPECT_TRUE(flag(0).isHidden());
    EXPECT_TRUE(bubbles().flagsIsHidden());
    EXPECT_TRUE(viewer().bar().button(Bar::Magnifier)->isHidden());
    EXPECT_EQ(viewer().bar().button(Bar::Flags)->image().fileName().find("pressed"), std::string::npos);
    showFlags();
    EXPECT_EQ(&flag(0), first);
    EXPECT_EQ(bubbles().flags().size(), 10u);
}

TEST_F(FlagTest, ShowingFlagsOnAMagnifiedPictureHidesTheScalpelInsteadOfShowingTheMagnifier) {
    picture().setTransform(ui::AffineTransform::scale(2, 2));
    driver.find("scalpel")->setHidden(false);
    showFlags();
    EXPECT_TRUE(driver.find("scalpel")->isHidden());
    EXPECT_TRUE(viewer().bar().button(Bar::Magnifier)->isHidden());
}

TEST_F(FlagTest, MagnificationBringsTheWaitingFlagToTheMiddleAsFarAsThePictureReaches) {
    showFlags();
    viewer().zoomOnOff();
    driver.advance(1);
    struct Case {
        int flag;
        ui::Point origin;
    };
    // Flags (after magnification moved them by (-2, +10)): 1 at (43, 200), 2 at (283, 200), 4 at (163, 49),
    // 5 at (163, 445); the picture is 640 x 840.
    const Case cases[] = {{1, {0, -160}}, {2, {-320, -160}}, {4, {-166, 30}}, {5, {-166, -390}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.flag);
        bubbles().setWaitingBubble(c.flag);
        bubbles().moveToFlag();
        driver.advance(0.65);
        EXPECT_EQ(picture().frame().origin, c.origin);
        EXPECT_EQ(picture().frame().size, (ui::Size{640, 840}));
        driver.advance(0.5);
    }
}

TEST_F(FlagTest, MagnifyingWithABubbleOpenCentresItsFlagAndReopensTheBubbleThere) {
    showFlags();
    pressFlag(0);
    driver.advance(0.5);
    viewer().zoomOnOff();
    EXPECT_EQ(bubbles().wviewHint(), 0);
    driver.advance(0.65);
    EXPECT_EQ(picture().frame().origin, (ui::Point{-166, -160}));
    driver.advance(0.15 + 0.15 + 0.4);
    EXPECT_EQ(bubbles().hintOfFlag()->alpha(), 1);
    EXPECT_NEAR(flagOnScreen(0).x, 160, 1e-9);
    EXPECT_NEAR(flagOnScreen(0).y, 240, 1e-9);
    EXPECT_NEAR(bubbles().hintOfFlag()->frame().midX(), 160, 1) << "the bubble points at the flag";
}

TEST_F(FlagTest, AViewChangeBuildsTheFlagsOfTheNewView) {
    showFlags();
    showRegion("Test Body", "Posterior");
    EXPECT_TRUE(bubbles().flags().empty());
    showFlags();
    EXPECT_EQ(bubbles().flags().size(), 1u);
    EXPECT_EQ(bubbles().nodesOfFlags().at(0)->attribute("infoid"), "Label Heart");
}
