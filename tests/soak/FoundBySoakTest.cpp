// Faults the monkey soak found, each replayed on the sample atlas as the short path a user takes to it.

#include "tests/support/TemporaryFolder.h"
#include "tests/support/TestProgram.h"

#include "Classes/IndexViewController.h"
#include "Classes/TorvexView.h"
#include "Platform/Application.h"
#include "Platform/ImageView.h"
#include "Platform/Label.h"
#include "Platform/SearchBar.h"
#include "Platform/TextField.h"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <iostream>
#include <sstream>
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
    void SetUp() override { program.launch(); }

    TemporaryFolder home;
    TestProgram program{TORVEX_BUILD_BUNDLE_DIR, home.path().string()};
};

// The top region has no lateral view, so the front and the back are neighbours there. Planning the turn
// through the missing side view planned the same turn again and again, and the journey lost the view it
// was heading for: the touches never came back.
TEST_F(FoundBySoak, anIndexJourneyFromTheBackOfTheTopRegionEndsAtItsStructure) {
    run({"wait 1", "tap 160 100", "wait 2", "press views", "wait 2", "press Posterior", "wait 3"});
    ASSERT_EQ(viewer().currentView(), "Posterior");
    EXPECT_EQ(viewer().journey().tempView(), "") << "no side view to pass on the way";

    run({"press index", "wait 1", "press Arteries", "wait 12"});

    EXPECT_TRUE(viewer().journey().enterArray().empty());
    EXPECT_EQ(viewer().currentView(), "Ant. Circulation");
    EXPECT_TRUE(viewer().view()->isUserInteractionEnabled());
    ASSERT_TRUE(viewer().flagBubbles().labelForFlag());
    EXPECT_EQ(viewer().flagBubbles().labelForFlag()->text(), "Arteries");
    EXPECT_EQ(viewer().flagBubbles().hintOfFlag()->alpha(), 1);
}

// In the female genital organs the front view is an alias of the female figure, whose base view is the
// front view. Following the alias planned the change to the figure again, which turned back to the alias,
// round and round, and the screen kept the picture of the region left behind; with the planning fixed,
// the figure came early and the journey's last hop entered it again, taking the bubble away.
TEST_F(FoundBySoak, aJourneyIntoTheFemaleFigureFromBehindShowsItAndOpensTheBubble) {
    run({"wait 1", "tap 160 100", "wait 2", "press Pelvis", "wait 2", "press views", "wait 2",
         "press Posterior", "wait 3", "press index", "wait 1"});
    ui::TextField& search = viewer().index().navigationController()->mySearchBar->textField();
    ui::Point field = search.convertTo(ui::Point{search.bounds().midX(), search.bounds().midY()}, nullptr);
    run({("tap " + std::to_string(std::lround(field.x)) + " " + std::to_string(std::lround(field.y))).c_str(),
         "type Ecto"});
    std::ostringstream warnings;
    std::streambuf* saved = std::cerr.rdbuf(warnings.rdbuf());
    run({"press Ectocervix", "wait 12"});
    std::cerr.rdbuf(saved);

    EXPECT_EQ(warnings.str(), "");
    EXPECT_EQ(viewer().currentRegion()->getHeader(), "Female Genital Organs");
    EXPECT_EQ(viewer().currentView(), "Ant. Female");
    EXPECT_TRUE(viewer().journey().enterArray().empty());
    EXPECT_TRUE(viewer().view()->isUserInteractionEnabled());
    ASSERT_TRUE(viewer().flagBubbles().labelForFlag());
    EXPECT_EQ(viewer().flagBubbles().labelForFlag()->text(), "Ectocervix");
    EXPECT_EQ(viewer().flagBubbles().hintOfFlag()->alpha(), 1);
}

// Thumbnails pressed in quick succession start view changes that overlap; a journey started meanwhile
// asked for its view while the user's changes were still turning the figure, which then ended elsewhere,
// and the journey waited for its view for ever with the touches off.
TEST_F(FoundBySoak, aJourneyStartedWhileViewChangesOverlapStillEndsAtItsStructure) {
    run({"wait 1", "tap 160 100", "wait 2", "press views", "wait 2", "press Posterior", "wait 4",
         "press views", "wait 2", "press Anterior", "press Anterior Skin", "wait 0.65", "press Posterior",
         "press index", "press Arteries", "wait 30"});

    EXPECT_TRUE(viewer().journey().enterArray().empty());
    EXPECT_EQ(viewer().currentView(), "Ant. Circulation");
    EXPECT_TRUE(viewer().view()->isUserInteractionEnabled());
    ASSERT_TRUE(viewer().flagBubbles().labelForFlag());
    EXPECT_EQ(viewer().flagBubbles().labelForFlag()->text(), "Arteries");
}

} // namespace
