// A view with 10000 flags, each its own structure: the flags show, a press opens the bubble of the flag
// in front, the quiz asks about them and checks answers, the index finds any of them, and one frame
// with all of them on screen is drawn.

#include "HostileTest.h"

#include "Platform/Label.h"

using ::testing::StartsWith;

namespace {

constexpr int kFlags = 10000, kFlagColumns = 100;

std::string crowdedViewAtlas() {
    // "Dense" fills the picture of "Crowd", which fills the top region's: the quiz asks about what lies
    // in the sub-regions of an area.
    RegionSketch dense = regionSketch("Dense", "atlas/Thorax");
    std::vector<PointSketch>& points = dense.views.front().points;
    std::vector<EntrySketch> entries{{"Info Crowd", "Crowd", "Turba", "<p>Ten thousand structures.</p>"}};
    for (int i = 0; i < kFlags; ++i) {
        std::string id = "Label " + std::to_string(i);
        points.push_back({4.8 * (i % kFlagColumns) + 2, 6.3 * (i / kFlagColumns) + 3, id});
        entries.push_back({id, "Structure " + std::to_string(i), "Structura " + std::to_string(i),
                           "<p>Structure number " + std::to_string(i) + ".</p>"});
    }
    RegionSketch crowd = regionSketch("Crowd", "atlas/Thorax");
    crowd.subRegions = {dense};
    RegionSketch top = regionSketch("Body", "atlas/HumanBody");
    top.subRegions = {crowd};
    return atlasXml(top, entries);
}

class ManyFlags : public HostileTest {
protected:
    void SetUp() override {
        bundle_.replaceAtlas(crowdedViewAtlas());
        launch(bundle_);
        openViewer();
    }
    void showFlags() {
        press("flag");
        wait(0.5);
    }

    HostileBundle bundle_;
};

TEST_F(ManyFlags, allFlagsInsideThePictureBandShowAndAPressOpensTheBubbleOfTheFlagInFront) {
    enter("Crowd");
    enter("Dense");
    ASSERT_EQ(state()["root"], "Dense");
    showFlags();
    EXPECT_EQ(viewer().flags.size(), static_cast<std::size_t>(kFlags));
    EXPECT_GT(visibleFlagTitles().size(), kFlags * 8 / 10);
    drawFrame();

    driver.tap({160, 240});
    wait(0.5);
    EXPECT_THAT(bubbleTitle(), StartsWith("Structure "));
    EXPECT_EQ(viewer().hintOfFlag->alpha(), 1);
    EXPECT_FALSE(viewer().hintOfFlag->image().empty());
    drawFrame();
}

TEST_F(ManyFlags, theIndexFindsOneStructureAmongTenThousand) {
    chooseFromIndex("Structure 5050");
    EXPECT_EQ(state()["indexRows"], ui::Json::array({"Structure 5050"}));
    EXPECT_EQ(state()["root"], "Dense");
    EXPECT_EQ(bubbleTitle(), "Structure 5050");
    EXPECT_EQ(state()["interaction"], true);
}

TEST_F(ManyFlags, aQuizOnTheCrowdedAreaAsksAndChecksAnAnswer) {
    press("quiz");
    wait(1);
    tapView("quizArea Crowd");
    press("Start");
    wait(1);
    ASSERT_EQ(state()["Questions"].size(), 12u);
    enter("Crowd");
    enter("Dense");
    wait(1.5); // the flags come up by themselves during a quiz
    EXPECT_GT(visibleFlagTitles().size(), kFlags * 8 / 10);
    driver.tap({160, 240});
    wait(0.5);
    // Twelve of ten thousand: the flag in front is almost surely not the one asked for.
    std::string answer = bubbleTitle();
    EXPECT_TRUE(answer == "Incorrect \u2013 2 more attempts" || answer.rfind("Structure ", 0) == 0) << answer;
    drawFrame();
}

} // namespace
