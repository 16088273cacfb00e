// Faults the monkey soak found, each replayed on the sample atlas as the short path a user takes to it.

#include "Soak.h"

#include "Classes/TorvexView.h"
#include "Platform/ImageView.h"
#include "Platform/Label.h"

#include <gtest/gtest.h>

#include <initializer_list>

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

} // namespace
