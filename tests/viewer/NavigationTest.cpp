#include "ViewerTest.h"

using Navigation = ViewerTest;

TEST_F(Navigation, enteringARegionSwapsThePicturesAndGoingBackNamesTheParentOfTheRegionReturnedTo) {
    wait(1);
    ui::ImageView* before = viewer().displayedImage();
    press("Arm");
    EXPECT_EQ(viewer().currentRegion()->getHeader(), "Arm");
    EXPECT_EQ(viewer().bar().title()->text(), "Anterior: Arm");
    EXPECT_EQ(viewer().bar().backCaption()->text(), "Upper Limb");
    EXPECT_EQ(viewer().bar().button(Bar::Back)->currentTitle(), "Upper Limb");
    EXPECT_FALSE(viewer().bar().button(Bar::Back)->isHidden());
    EXPECT_FALSE(viewer().bar().backCaption()->isHidden());
    wait(0.79);
    EXPECT_FALSE(interaction());
    wait(0.02);
    EXPECT_TRUE(interaction());
    EXPECT_NE(viewer().displayedImage(), before);
    EXPECT_EQ(shownPicture(), "arm/anterior.png");
    EXPECT_EQ(viewer().displayedImage()->transform(), ui::AffineTransform::identity());
    EXPECT_EQ(viewer().displayedImage()->center(), (ui::Point{160, 240}));
    // The old picture grew 100/40 times about the arm's place (x 96, y 0 in the picture) and faded.
    EXPECT_DOUBLE_EQ(before->alpha(), 0);
    EXPECT_DOUBLE_EQ(before->transform().a, 2.5);
    EXPECT_NEAR(before->center().x, 160, 1e-3);
    EXPECT_NEAR(before->center().y, 555, 1e-3);
    enter("Elbow"); // going back names the parent and hides the controls at the top
    EXPECT_EQ(viewer().bar().backCaption()->text(), "Arm");
    goBack();
    EXPECT_EQ(viewer().currentRegion()->getHeader(), "Arm");
    EXPECT_EQ(viewer().bar().backCaption()->text(), "Upper Limb");
    EXPECT_FALSE(viewer().bar().button(Bar::Back)->isHidden());
    EXPECT_EQ(shownPicture(), "arm/anterior.png");
    goBack();
    EXPECT_EQ(viewer().currentRegion()->getHeader(), "Upper Limb");
    EXPECT_TRUE(viewer().bar().button(Bar::Back)->isHidden());
    EXPECT_TRUE(viewer().bar().backCaption()->isHidden());
    EXPECT_EQ(shownPicture(), "upper_limb/anterior.png");
    EXPECT_EQ(viewer().displayedImage()->center(), (ui::Point{160, 240}));
    EXPECT_TRUE(interaction());
}

TEST_F(Navigation, leavingARegionPlacedAtXZeroShrinksItAboutTheCentreAndLeavesTheParentInPlace) {
    region("Arm")->firstChild()->firstChild()->lastChild()->setAttribute("x", "0");
    enter("Arm");
    goBack();
    EXPECT_EQ(viewer().displayedImage()->center(), (ui::Point{160, 240}));
    EXPECT_EQ(viewer().displayedImage()->transform(), ui::AffineTransform::identity());
    EXPECT_EQ(viewer().hiddenImage()->center(), (ui::Point{160, 240}));
    EXPECT_FLOAT_EQ(viewer().hiddenImage()->transform().a, 0.4);
}

TEST_F(Navigation, aRegionWithoutAKnownSizeEntersWithoutBreakingTheTransforms) {
    region("Arm")->firstChild()->firstChild()->lastChild()->setAttribute("scale", "0");
    enter("Arm");
    EXPECT_EQ(viewer().displayedImage()->transform(), ui::AffineTransform::identity());
    EXPECT_DOUBLE_EQ(viewer().hiddenImage()->transform().a, 1);
    EXPECT_TRUE(interaction());
}

TEST_F(Navigation, buttonEnteringIsIgnoredWhileClimbingToTheTop) {
    enter("Arm");
    enter("Elbow");
    wait(1);
    viewer().backToStart();
    ASSERT_TRUE(viewer().journey().backToStartBool());
    ui::Button elbow;
    elbow.setTitle("Elbow");
    viewer().enterToPart(&elbow);
    EXPECT_EQ(viewer().currentRegion()->getHeader(), "Arm");
}

TEST_F(Navigation, aViewAliasIsReplacedByTheViewItNamesAndKeepsTheBackCaption) {
    showRegion("Upper Limb", "Lateral");
    ui::Button hand;
    hand.setTitle("Hand");
    viewer().enterToPart(&hand);
    wait(0.85);
    EXPECT_EQ(viewer().currentRegion()->getHeader(), "Hand");
    EXPECT_EQ(viewer().currentView(), "Anterior");
    EXPECT_EQ(viewer().bar().backCaption()->text(), "Upper Limb");
    EXPECT_EQ(shownPicture(), "hand/anterior.png");
    ASSERT_EQ(viewer().imageViews().size(), 2u) << "only views without an alias are offered";
    EXPECT_EQ(viewer().imageViews()[1].first, "Posterior");
}

// Back from the top and a loop of view aliases leave nothing to show: the picture stays, touches return.
TEST_F(Navigation, whereThereIsNothingToShowThePictureStaysAndTouchesComeBack) {
    wait(1);
    viewer().back();
    EXPECT_EQ(viewer().currentRegion()->getHeader(), "Upper Limb");
    EXPECT_TRUE(interaction());
    TorvexView::viewNamed(viewer().currentRegion(), "Lateral")->setAttribute("realheader", "Left Side");
    viewer().showView("Left Side");
    wait(1);
    EXPECT_EQ(shownPicture(), "upper_limb/anterior.png");
    EXPECT_TRUE(interaction());
    EXPECT_EQ(viewer().imageViews().size(), 5u);
}

TEST_F(Navigation, aRegionWithoutTheCurrentViewKeepsThePictureAndGivesTouchesBack) {
    enter("Arm");
    viewer().showRegion(*viewer().currentRegion(), "Medial");
    EXPECT_TRUE(interaction());
    EXPECT_EQ(shownPicture(), "arm/anterior.png");
}

TEST_F(Navigation, backFromAViewTheParentLacksTurnsToAnteriorAndStays) {
    enter("Arm");
    viewer().showView("Lateral");
    wait(1);
    EXPECT_FALSE(viewer().checkIfNeededChangeView());
    TorvexView::viewNamed(region("Upper Limb"), "Lateral")->setAttribute("header", "Lateral Old");
    EXPECT_TRUE(viewer().checkIfNeededChangeView());
    viewer().back();
    EXPECT_EQ(viewer().currentView(), "Anterior");
    EXPECT_EQ(viewer().previousView(), "Lateral");
    wait(2);
    EXPECT_EQ(viewer().currentRegion()->getHeader(), "Arm");
    EXPECT_EQ(shownPicture(), "arm/anterior.png");
}

TEST_F(Navigation, anExplodedViewTheParentLacksReturnsToThePreviousViewOnlyFromItsBaseView) {
    enter("Forearm");
    viewer().showView("Anterior Exp");
    wait(1);
    viewer().back();
    EXPECT_EQ(viewer().currentView(), "Anterior");
    EXPECT_EQ(viewer().currentRegion()->getHeader(), "Forearm");
    wait(1.29);
    EXPECT_EQ(viewer().currentRegion()->getHeader(), "Forearm");
    wait(0.02);
    EXPECT_EQ(viewer().currentRegion()->getHeader(), "Upper Limb");
    TreeNode* wrist = region("Wrist"); // it goes back without a view change only from its base view
    EXPECT_FALSE(TorvexView::checkIfNeededChangeView(wrist, "Anterior Exp", "Anterior"));
    EXPECT_TRUE(TorvexView::checkIfNeededChangeView(wrist, "Anterior Exp", "Posterior"));
    TreeNode* exploded = TorvexView::viewNamed(region("Forearm"), "Anterior Exp");
    exploded->children[1]->setAttribute("exist", "false");
    EXPECT_TRUE(TorvexView::checkIfNeededChangeView(wrist, "Anterior Exp", "Anterior"));
}
