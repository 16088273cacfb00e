// Faults the monkey soak found, each replayed on the sample atlas as the short path a user takes to it.

#include "Soak.h"

#include "Classes/TorvexView.h"
#include "Platform/Application.h"
#include "Platform/ImageView.h"
#include "Platform/Label.h"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <string>
#include <vector>

namespace {

class FoundBySoak : public ::testing::Test {
protected:
    // Runs the lines in order, failing the test at the first that cannot be carried out.
    void run(std::initializer_list<const char*> lines) {
        for (const char* line : lines) {
            ui::Result result = program.run(line);
            ASSERT_TRUE(result) << line << ": " << result.error();
        }
    }
    TorvexView& viewer() { return *program.viewer(); }

    SoakProgram program{TORVEX_BUILD_BUNDLE_DIR};
};

// The top region has no lateral view, so the front and the back are neighbours there. Planning the turn
// through the missing side view planned the same turn again and again, and the journey lost the view it
// was heading for: the touches never came back.
TEST_F(FoundBySoak, anIndexJourneyFromTheBackOfTheTopRegionEndsAtItsStructure) {
    run({"wait 1", "tap 160 100", "wait 2", "press views", "wait 2", "press Posterior", "wait 3"});
    ASSERT_EQ(viewer().viewTorvex, "Posterior");
    EXPECT_EQ(viewer().tempView, "") << "no side view to pass on the way";

    run({"press index", "wait 1", "press Arteries", "wait 12"});

    EXPECT_TRUE(viewer().enterArray.empty());
    EXPECT_EQ(viewer().viewTorvex, "Ant. Circulation");
    EXPECT_TRUE(viewer().view()->isUserInteractionEnabled());
    ASSERT_TRUE(viewer().labelForFlag);
    EXPECT_EQ(viewer().labelForFlag->text(), "Arteries");
    EXPECT_EQ(viewer().hintOfFlag->alpha(), 1);
}

// The quiz draws its questions at random; a script that answers them could not replay a run whose
// questions differ from the run that wrote it.
TEST(FoundBySoakReplay, aQuizAsksTheSameQuestionsInEveryHeadlessRun) {
    auto questionsOfAFreshRun = [] {
        SoakProgram program{TORVEX_BUILD_BUNDLE_DIR};
        for (const char* line : {"wait 1", "tap 160 100", "wait 2", "press quiz", "wait 1.5"})
            EXPECT_TRUE(program.run(line)) << line;
        std::vector<std::string> lines;
        for (const char* area : {"quizArea Thorax", "quizArea Abdomen"}) {
            ui::View* areaSwitch = program.driver().find(area);
            if (!areaSwitch)
                return std::vector<std::string>{std::string("no switch ") + area};
            ui::Point at = areaSwitch->convertTo(ui::Point{20, 10}, nullptr);
            EXPECT_TRUE(program.run("tap " + std::to_string(std::lround(at.x)) + " " +
                                    std::to_string(std::lround(at.y))));
        }
        EXPECT_TRUE(program.run("press Start"));
        return program.viewer()->Questions;
    };

    std::vector<std::string> first = questionsOfAFreshRun();
    EXPECT_EQ(first.size(), 12u);
    EXPECT_EQ(questionsOfAFreshRun(), first);
}

} // namespace
