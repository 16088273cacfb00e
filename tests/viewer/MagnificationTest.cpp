#include "ViewerTest.h"

using Magnification = ViewerTest;

TEST_F(Magnification, switchingOnDoublesThePictureAndOffersOnlyTheWayBackWhichRestoresEverything) {
    wait(1);
    TorvexView& v = viewer();
    v.flagBubbles().createFlagWithNum(0, 95, 110); // flags centred at (100, 120) and (200, 300)
    v.flagBubbles().createFlagWithNum(1, 195, 290);
    std::vector<ui::Point> centres{v.flagBubbles().flags()[0]->center(),
                                   v.flagBubbles().flags()[1]->center()};
    v.zoomOnOff();
    EXPECT_EQ(state()["zoomOn"], true);
    EXPECT_EQ(v.flagBubbles().wviewHint(), -1);
    EXPECT_EQ(v.displayedImage()->transform(), ui::AffineTransform::scale(2, 2));
    EXPECT_EQ(v.flagBubbles().flags()[0]->transform(), ui::AffineTransform::scale(0.5, 0.5));
    EXPECT_EQ(v.flagBubbles().flags()[0]->center(), (ui::Point{98, 130}));
    EXPECT_EQ(v.bar().backCaption()->text(), "BACK");
    EXPECT_FALSE(v.bar().button(Bar::Back)->isHidden());
    EXPECT_FALSE(v.bar().backCaption()->isHidden());
    EXPECT_NE(v.bar().magnificationNotice()->superview(), nullptr);
    for (const auto& hidden :
         {v.bar().button(Bar::Views), v.bar().button(Bar::Quiz), v.bar().button(Bar::Help),
          v.bar().button(Bar::Flags), v.bar().button(Bar::Info), v.bar().button(Bar::Magnifier), &scalpel(),
          v.bar().button(Bar::Index)})
        EXPECT_TRUE(hidden->isHidden()) << hidden->identifier();
    for (const auto& button : v.hotSpots().buttons())
        EXPECT_TRUE(button->isHidden());
    wait(1); // the back control restores everything
    driver.tap({43, 15});
    EXPECT_EQ(state()["zoomOn"], false);
    EXPECT_FALSE(interaction());
    for (std::size_t i = 0; i < v.flagBubbles().flags().size(); ++i) {
        EXPECT_EQ(v.flagBubbles().flags()[i]->center(), centres[i]);
        EXPECT_EQ(v.flagBubbles().flags()[i]->transform(), ui::AffineTransform::identity());
    }
    EXPECT_EQ(v.displayedImage()->transform(), ui::AffineTransform::identity());
    EXPECT_EQ(v.displayedImage()->center(), (ui::Point{160, 240}));
    EXPECT_EQ(v.bar().magnificationNotice()->superview(), nullptr);
    for (const auto& shown :
         {v.bar().button(Bar::Views), v.bar().button(Bar::Quiz), v.bar().button(Bar::Help),
          v.bar().button(Bar::Index), v.bar().button(Bar::Magnifier)})
        EXPECT_FALSE(shown->isHidden()) << shown->identifier();
    for (const auto& button : v.hotSpots().buttons())
        EXPECT_FALSE(button->isHidden());
    // Nothing to go back to from the top region once the picture is at rest.
    EXPECT_TRUE(v.bar().button(Bar::Back)->isHidden());
    EXPECT_EQ(v.currentRegion()->getHeader(), "Upper Limb");
    wait(0.64);
    EXPECT_FALSE(interaction());
    wait(0.02);
    EXPECT_TRUE(interaction());
    enter("Arm"); // inside a region the back control stays afterwards
    viewer().zoomOnOff();
    wait(1);
    viewer().back();
    EXPECT_EQ(viewer().currentRegion()->getHeader(), "Arm");
    EXPECT_FALSE(viewer().bar().button(Bar::Back)->isHidden());
    EXPECT_EQ(viewer().bar().backCaption()->text(), "Upper Limb");
}
