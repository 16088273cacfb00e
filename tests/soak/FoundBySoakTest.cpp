// Faults the monkey soak found, each replayed on the sample atlas as the short path a user takes to it.

#include "tests/support/TemporaryFolder.h"
#include "tests/support/TestProgram.h"

#include "Classes/TorvexView.h"
#include "Platform/Application.h"
#include "Platform/ImageView.h"
#include "Platform/Label.h"

#include <gtest/gtest.h>

#include <iostream>
#include <sstream>

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
    // The journey has ended in `view` with the touches back and the bubble of `structure` open.
    void expectArrivedAt(const std::string& view, const std::string& structure) {
        EXPECT_TRUE(viewer().journey().enterArray().empty());
        EXPECT_EQ(viewer().currentView(), view);
        EXPECT_TRUE(viewer().view()->isUserInteractionEnabled());
        ASSERT_TRUE(viewer().flagBubbles().labelForFlag());
        EXPECT_EQ(viewer().flagBubbles().labelForFlag()->text(), structure);
        EXPECT_EQ(viewer().flagBubbles().hintOfFlag()->alpha(), 1);
    }
    void SetUp() override { program.launch(); }

    TemporaryFolder home;
    TestProgram program{TORVEX_BUILD_BUNDLE_DIR, home.path().string()};
};

// Without a side view front and back are neighbours; the turn through it was planned for ever.
TEST_F(FoundBySoak, anIndexJourneyFromTheBackOfTheTopRegionEndsAtItsStructure) {
    run({"wait 1", "tap 160 100", "wait 2", "press views", "wait 2", "press Posterior", "wait 3"});
    ASSERT_EQ(viewer().currentView(), "Posterior");
    EXPECT_EQ(viewer().journey().tempView(), "") << "no side view to pass on the way";

    run({"press index", "wait 1", "press Arteries", "wait 12"});
    expectArrivedAt("Ant. Circulation", "Arteries");
}

// The front view aliases the female figure whose base is the front view: the plan went round and round.
TEST_F(FoundBySoak, aJourneyIntoTheFemaleFigureFromBehindShowsItAndOpensTheBubble) {
    run({"wait 1", "tap 160 100", "wait 2", "press Pelvis", "wait 2", "press views", "wait 2",
         "press Posterior", "wait 3", "key /", "wait 1", "type Ecto"});
    std::ostringstream warnings;
    std::streambuf* saved = std::cerr.rdbuf(warnings.rdbuf());
    run({"press Ectocervix", "wait 12"});
    std::cerr.rdbuf(saved);

    EXPECT_EQ(warnings.str(), "");
    EXPECT_EQ(viewer().currentRegion()->getHeader(), "Female Genital Organs");
    expectArrivedAt("Ant. Female", "Ectocervix");
}

// A journey started while quickly pressed thumbnails still turned the figure waited for its view for ever.
TEST_F(FoundBySoak, aJourneyStartedWhileViewChangesOverlapStillEndsAtItsStructure) {
    run({"wait 1", "tap 160 100", "wait 2", "press views", "wait 2", "press Posterior", "wait 4",
         "press views", "wait 2", "press Anterior", "press Anterior Skin", "wait 0.65", "press Posterior",
         "press index", "press Arteries", "wait 30"});
    expectArrivedAt("Ant. Circulation", "Arteries");
}

} // namespace
