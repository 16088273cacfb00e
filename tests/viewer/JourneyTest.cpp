#include "Classes/Journey.h"
#include "Platform/RunLoop.h"
#include "ViewerTest.h"
#include <cstdio>
#include <vector>

using ViewerJourney = ViewerTest;
using Json = nlohmann::ordered_json;

namespace {
std::string rootOf(TorvexView& viewer) {
    return std::string(viewer.currentRegion()->getHeader());
}
} // namespace

// From "Elbow" to the carpal bones in "Wrist": climb a region a second, enter each 1.25 s apart.
TEST_F(ViewerJourney, climbsOneLevelASecondThenEntersEachQueuedRegionInTurn) {
    enter("Arm");
    enter("Elbow");
    wait(1);
    viewer().goToPart("Carpal bones");
    EXPECT_EQ(state()["enterArray"], (Json{"point:Label 16", "view:Anterior", "part:Wrist", "part:Forearm"}));
    EXPECT_FALSE(interaction());

    wait(1.24);
    EXPECT_EQ(rootOf(viewer()), "Elbow");
    wait(0.02); // 1.26: backToStart climbs with back
    EXPECT_EQ(rootOf(viewer()), "Arm");
    EXPECT_TRUE(viewer().journey().backToStartBool());
    wait(0.98); // 2.24
    EXPECT_EQ(rootOf(viewer()), "Arm");
    wait(0.02); // 2.26
    EXPECT_EQ(rootOf(viewer()), "Upper Limb");
    wait(1.0); // 3.26: at the top, the queue's first region is entered at once
    EXPECT_FALSE(viewer().journey().backToStartBool());
    EXPECT_EQ(rootOf(viewer()), "Forearm");
    EXPECT_TRUE(viewer().bar().button(Bar::Back)->isHidden());
    EXPECT_FALSE(interaction());
    wait(1.23); // 4.49
    EXPECT_EQ(rootOf(viewer()), "Forearm");
    wait(0.02); // 4.51
    EXPECT_EQ(rootOf(viewer()), "Wrist");
    EXPECT_EQ(viewer().bar().backCaption()->text(), "Forearm");
    EXPECT_EQ(state()["enterArray"], (Json{"point:Label 16", "view:Anterior"}));
    wait(1.25); // 5.76: the view is already on screen and leaves the queue
    EXPECT_EQ(state()["enterArray"], (Json{"point:Label 16"}));
    EXPECT_FALSE(interaction());
    wait(0.4); // 6.16: the point ends the chain and shows the back controls
    EXPECT_EQ(state()["enterArray"], Json::array());
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
    EXPECT_EQ(rootOf(viewer()), "Forearm");
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
    EXPECT_EQ(rootOf(viewer()), "Upper Limb");
    wait(0.02);
    EXPECT_EQ(rootOf(viewer()), "Forearm");
    wait(1.25);
    EXPECT_EQ(rootOf(viewer()), "Wrist");
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
    EXPECT_EQ(rootOf(viewer()), "Upper Limb");
    EXPECT_FALSE(interaction());
    wait(1.0);
    EXPECT_TRUE(interaction());
}

// The journey on its own, acting on a stand-in for the viewer: what it does, and when.

namespace {

std::unique_ptr<TreeNode> node(const char* key, const char* header) {
    auto made = TreeNode::initWithKey(key);
    made->setAttribute("header", header);
    return made;
}

// Two regions below the top; the view chooser shows a view at once.
struct StandInViewer {
    int depth = 2;
    std::string view = "Anterior";
    std::string log;
    bool touches = false;

    void note(const std::string& what) {
        char at[16];
        std::snprintf(at, sizeof at, "%.2f ", ui::RunLoop::main().now());
        log += at + what + "; ";
    }
    Journey::Actions actions() {
        Journey::Actions actions;
        actions.atTopRegion = [this] { return depth == 0; };
        actions.currentView = [this] { return view; };
        actions.setTouches = [this](bool on) { touches = on; };
        actions.back = [this] {
            note("back");
            --depth;
        };
        actions.enterRegion = [this](const TreeNode& region) {
            note("enter " + std::string(region.getHeader()));
        };
        actions.chooseView = [this](const std::string& name) {
            note("choose " + name);
            view = name;
        };
        actions.openBubble = [this](TreeNode& point) { note("bubble " + std::string(point.getHeader())); };
        return actions;
    }
};

} // namespace

TEST(JourneySteps, climbsOneRegionASecondThenTakesEachStepAfterItsOwnDelay) {
    ui::Driver::resetToolkit();
    ui::Driver driver;
    StandInViewer viewer;
    Journey journey(viewer.actions());
    auto point = node("point", "Carpal bones"), posterior = node("view", "Posterior"),
         wrist = node("part", "Wrist");
    journey.start({point.get(), posterior.get(), wrist.get()}, true);
    EXPECT_EQ(journey.phase(), Journey::Phase::Climbing);
    driver.advance(1.3);
    EXPECT_EQ(journey.phase(), Journey::Phase::ClimbingToTop);
    driver.advance(5);
    EXPECT_EQ(viewer.log,
              "1.25 back; 2.25 back; 3.25 enter Wrist; 4.50 choose Posterior; 6.20 bubble Carpal bones; ");
    EXPECT_EQ(journey.phase(), Journey::Phase::Idle);
    EXPECT_FALSE(viewer.touches); // the bubble gives the touches back
}
