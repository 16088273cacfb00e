#include "Classes/Journey.h"
#include "ViewerTest.h"

using ViewerJourney = ViewerTest;
using Json = nlohmann::ordered_json;

// From "Elbow" to the carpal bones in "Wrist": climb a region a second, enter each 1.25 s apart.
TEST_F(ViewerJourney, climbsOneLevelASecondThenEntersEachQueuedRegionInTurn) {
    enter("Arm");
    enter("Elbow");
    wait(1);
    viewer().goToPart("Carpal bones");
    EXPECT_EQ(state()["enterArray"], (Json{"point:Label 16", "view:Anterior", "part:Wrist", "part:Forearm"}));
    EXPECT_FALSE(interaction());
    EXPECT_EQ(viewer().journey().phase(), Journey::Phase::Climbing);

    wait(1.24);
    EXPECT_EQ(state()["root"], "Elbow");
    wait(0.02); // 1.26: backToStart climbs with back
    EXPECT_EQ(state()["root"], "Arm");
    EXPECT_TRUE(viewer().journey().backToStartBool());
    EXPECT_EQ(viewer().journey().phase(), Journey::Phase::ClimbingToTop);
    wait(0.98); // 2.24
    EXPECT_EQ(state()["root"], "Arm");
    wait(0.02); // 2.26
    EXPECT_EQ(state()["root"], "Upper Limb");
    wait(1.0); // 3.26: at the top, the queue's first region is entered at once
    EXPECT_FALSE(viewer().journey().backToStartBool());
    EXPECT_EQ(state()["root"], "Forearm");
    EXPECT_TRUE(viewer().bar().button(Bar::Back)->isHidden());
    EXPECT_FALSE(interaction());
    wait(1.23); // 4.49
    EXPECT_EQ(state()["root"], "Forearm");
    wait(0.02); // 4.51
    EXPECT_EQ(state()["root"], "Wrist");
    EXPECT_EQ(viewer().bar().backCaption()->text(), "Forearm");
    EXPECT_EQ(state()["enterArray"], (Json{"point:Label 16", "view:Anterior"}));
    wait(1.25); // 5.76: the view is already on screen and leaves the queue
    EXPECT_EQ(state()["enterArray"], (Json{"point:Label 16"}));
    EXPECT_FALSE(interaction());
    wait(0.4); // 6.16: the point ends the chain and shows the back controls
    EXPECT_EQ(state()["enterArray"], Json::array());
    EXPECT_EQ(viewer().journey().phase(), Journey::Phase::Idle);
    EXPECT_FALSE(viewer().bar().button(Bar::Back)->isHidden());
    EXPECT_EQ(bubbles().wviewHint(), 0);
}

// "Extensor digitorum" is only in "Forearm"/"Posterior": the view is chosen, then waited for 1.3 s.
TEST_F(ViewerJourney, changesToTheQueuedViewAndWaitsForIt) {
    enter("Arm");
    enter("Elbow");
    wait(1);
    viewer().goToPart("Extensor digitorum");
    EXPECT_EQ(state()["enterArray"], (Json{"point:Label 15", "view:Posterior", "part:Forearm"}));
    wait(3.26);
    EXPECT_EQ(state()["root"], "Forearm");
    wait(1.25); // 4.51
    EXPECT_EQ(viewer().journey().needView(), "Posterior");
    EXPECT_EQ(viewer().journey().itsNeedView(), "Posterior");
    EXPECT_EQ(state()["enterArray"], (Json{"point:Label 15", "view:Posterior"}));
    wait(0.75); // 5.26: the chosen view is shown
    EXPECT_EQ(viewer().bar().title()->text(), "Posterior: Forearm");
    wait(0.53); // 5.79
    EXPECT_EQ(state()["enterArray"], (Json{"point:Label 15", "view:Posterior"}));
    wait(0.02); // 5.81: 1.3 s after the change, the view has arrived
    EXPECT_EQ(state()["enterArray"], (Json{"point:Label 15"}));
    EXPECT_EQ(viewer().journey().needView(), "");
    wait(0.4);
    EXPECT_EQ(state()["enterArray"], Json::array());
}

TEST_F(ViewerJourney, fromTheTopRegionStartsEnteringAfterOneSecond) {
    wait(1);
    viewer().goToPart("Wrist");
    EXPECT_EQ(state()["enterArray"], (Json{"part:Wrist", "part:Forearm"}));
    EXPECT_FALSE(viewer().journey().isChangingView());
    wait(0.99);
    EXPECT_EQ(state()["root"], "Upper Limb");
    wait(0.02);
    EXPECT_EQ(state()["root"], "Forearm");
    wait(1.25);
    EXPECT_EQ(state()["root"], "Wrist");
    wait(1.25); // the queue ran empty: the journey ends with touches back on
    EXPECT_TRUE(interaction());
    EXPECT_FALSE(viewer().bar().button(Bar::Back)->isHidden());
}

TEST_F(ViewerJourney, aPointAlsoShownInTheCurrentViewIsShownThere) {
    wait(1);
    viewer().showView("Posterior");
    wait(2);
    viewer().goToPart("Deltoid");
    ASSERT_EQ(state()["enterArray"], (Json{"point:Label 1", "view:Posterior"}));
    EXPECT_EQ(viewer().journey().enterArray().front()->attribute("x"), "198");
}

TEST_F(ViewerJourney, anUnknownTermClimbsToTheTopAndEndsWithTouchesBack) {
    enter("Arm");
    wait(1);
    viewer().goToPart("Nothing of the kind");
    EXPECT_EQ(state()["enterArray"], Json::array());
    wait(1.26);
    EXPECT_EQ(state()["root"], "Upper Limb");
    EXPECT_FALSE(interaction());
    wait(1.0);
    EXPECT_TRUE(interaction());
}
