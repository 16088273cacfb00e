#include "ViewerTest.h"

#include "Platform/ScrollView.h"

using ViewsStrip = ViewerTest;

TEST_F(ViewsStrip, theFirstPressRebuildsTheStripScrolledToItsEndThenGlidesBackUnlessNarrower) {
    wait(1);
    ui::ScrollView& strip = *viewer().viewsChooser().strip();
    press("views");
    // Six plain views ("Left Side" is only an alias), in document order.
    ASSERT_EQ(strip.subviews().size(), 12u);
    EXPECT_EQ(strip.contentSize().width, 107 * 6 + 10);
    EXPECT_EQ(strip.frame().x(), -400);
    auto* caption = dynamic_cast<ui::Label*>(strip.subviews()[0].get());
    auto* thumbnail = dynamic_cast<ui::Button*>(strip.subviews()[1].get());
    ASSERT_TRUE(caption && thumbnail);
    EXPECT_EQ(caption->text(), "Anterior");
    EXPECT_TRUE(sameRect(caption->frame(), {0, -3, 107, 20}));
    EXPECT_EQ(thumbnail->currentTitle(), "Anterior");
    EXPECT_TRUE(sameRect(thumbnail->frame(), {5, 18.5, 96, 127}));
    EXPECT_FALSE(thumbnail->isHidden());
    auto* last = dynamic_cast<ui::Button*>(strip.subviews()[11].get());
    EXPECT_EQ(last->currentTitle(), "Anterior Xray");
    EXPECT_EQ(last->center().x, 53 + 5 * 107);

    wait(0.15);
    EXPECT_TRUE(sameRect(strip.frame(), {0, 300, 320, 150}));
    EXPECT_EQ(viewer().view()->subviews().back().get(), &strip);
    EXPECT_EQ(strip.contentOffset().x, 107 * 6 + 10 - 320);
    wait(0.35 + 1.0);
    EXPECT_EQ(strip.contentOffset().x, 0);

    wait(0.8);
    press("views");
    EXPECT_EQ(strip.frame().x(), -320);
    enter("Arm"); // a strip narrower than the screen starts at its beginning
    press("views", 0.15);
    EXPECT_EQ(viewer().viewsChooser().strip()->contentSize().width, 331);
    EXPECT_EQ(viewer().viewsChooser().strip()->contentOffset().x, 11);
    wait(2);
    press("views");
    enter("Elbow");
    press("views", 0.15);
    EXPECT_EQ(viewer().viewsChooser().strip()->contentSize().width, 224);
    EXPECT_EQ(viewer().viewsChooser().strip()->contentOffset().x, 0);
}

TEST_F(ViewsStrip, choosingTheViewOnScreenChangesNothingAnotherShowsItThreeQuartersOfASecondLater) {
    wait(1);
    press("views", 1.5);
    press("Anterior", 1); // the view on screen changes nothing
    EXPECT_EQ(viewer().previousView(), "");
    EXPECT_EQ(viewer().viewsChooser().strip()->frame().x(), 0);
    press("Lateral");
    EXPECT_EQ(viewer().currentView(), "Lateral");
    EXPECT_EQ(viewer().journey().itsNeedView(), "Lateral");
    EXPECT_EQ(viewer().previousView(), "Anterior");
    wait(0.74);
    EXPECT_EQ(viewer().bar().title()->text(), "Anterior: Upper Limb");
    wait(0.02);
    EXPECT_EQ(viewer().bar().title()->text(), "Lateral: Upper Limb");
    wait(1);
    EXPECT_EQ(viewer().viewsChooser().strip()->frame().x(), -320);
    EXPECT_EQ(shownPicture(), "upper_limb/lateral.png");
}

TEST_F(ViewsStrip, choosingAViewWhileMagnifiedLeavesMagnificationFirstAndEqualNamesAreListedOnce) {
    wait(1);
    viewer().zoomOnOff();
    wait(1);
    ui::Button medial;
    medial.setTitle("Medial");
    viewer().changeView(&medial);
    EXPECT_EQ(state()["zoomOn"], false);
    EXPECT_EQ(viewer().currentView(), "Medial");
    wait(1); // equal view names are listed once
    TorvexView::viewNamed(viewer().currentRegion(), "Medial")->setAttribute("header", "Lateral");
    viewer().refresh();
    EXPECT_EQ(viewer().imageViews().size(), 5u);
    EXPECT_EQ(viewer().imageViews()[2],
              (std::pair<std::string, std::string>{"Lateral", "upper_limb/medial.png"}));
}
