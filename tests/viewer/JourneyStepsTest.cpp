// The journey on its own, acting on a stand-in for the viewer: what it does, and when.
#include "Classes/Journey.h"
#include "Classes/TreeNode.h"
#include "Platform/Driver.h"
#include "Platform/RunLoop.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

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
