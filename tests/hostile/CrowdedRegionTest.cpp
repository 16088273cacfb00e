// A region with 500 sub-regions side by side: 500 title buttons and 500 pulsing rings on one screen.
// The screen stays usable: every place enters its region, back leaves it, the rings pulse and the
// panels open.

#include "HostileTest.h"

#include "Platform/Switch.h"

#include <cstdio>

namespace {

constexpr int kAreaColumns = 25, kAreaRows = 20, kAreas = kAreaColumns * kAreaRows;
// Design space is 480 x 630; each area takes a cell of the grid (4 % of the picture is 19.2 x 25.2).
constexpr double kCellWidth = 480.0 / kAreaColumns, kCellHeight = 630.0 / kAreaRows, kScale = 4;

std::string areaName(int i) {
    char name[32];
    std::snprintf(name, sizeof name, "Area %03d", i + 1);
    return name;
}

std::string crowdedAtlas() {
    RegionSketch top = regionSketch("Crowd", "atlas/HumanBody", {{240, 100, "Label top"}}, "Info Crowd");
    std::vector<EntrySketch> entries{{"Info Crowd", "Crowd", "Turba", "<p>Five hundred areas.</p>"},
                                     {"Label top", "Top", "Summum", "<p>The top.</p>"}};
    for (int i = 0; i < kAreas; ++i) {
        top.subRegions.push_back(
            regionSketch(areaName(i), "atlas/Thorax", {{240, 300, "Label " + std::to_string(i)}})
                .placedAt((i % kAreaColumns) * kCellWidth, (i / kAreaColumns) * kCellHeight, kScale));
        // The quiz asks about what the areas' own sub-regions show.
        top.subRegions.back().subRegions = {regionSketch("Spot " + std::to_string(i + 1), "atlas/Thorax",
                                                         {{240, 300, "Label " + std::to_string(i)}})};
        entries.push_back(
            {"Label " + std::to_string(i), "Structure " + std::to_string(i), "Structura", "<p>x</p>"});
    }
    return atlasXml(top, entries);
}

// The screen point at the middle of area i's place.
ui::Point centreOfArea(int i) {
    return {((i % kAreaColumns) + 0.5) * kCellWidth / 1.5,
            ((i / kAreaColumns) * kCellHeight + 12.6) / 1.5 + 30};
}

class CrowdedRegion : public HostileTest {
protected:
    void SetUp() override {
        bundle_.replaceAtlas(crowdedAtlas());
        launch(bundle_);
        openViewer();
    }
    HostileBundle bundle_;
};

TEST_F(CrowdedRegion, theRingsPulseAfterATouchAndAFrameIsDrawnMeanwhile) {
    driver.tap({160, (10 * kCellHeight + 28) / 1.5 + 30}); // between two rows of areas
    wait(0.9);
    int pulsing = 0;
    for (const auto& ring : viewer().hotSpotButtons)
        pulsing += !ring->isHidden() && ring->hasRunningAnimations() ? 1 : 0;
    EXPECT_EQ(pulsing, kAreas);
    drawFrame();
}

TEST_F(CrowdedRegion, everyPlaceEntersItsOwnAreaAndBackLeavesIt) {
    for (int i : {2, 24, 262, 475, 499}) { // the first two lie under the background switch
        wait(1);
        driver.tap(centreOfArea(i));
        wait(0.85);
        EXPECT_EQ(state()["root"], areaName(i));
        EXPECT_EQ(state()["interaction"], true);
        EXPECT_EQ(viewer().buttons.size(), 1u) << "the area's one spot";
        goBack();
        EXPECT_EQ(state()["root"], "Crowd");
        EXPECT_EQ(viewer().hotSpotButtons.size(), static_cast<std::size_t>(kAreas));
    }
}

TEST_F(CrowdedRegion, theIndexTakesAnyAreaThere) {
    press("index");
    wait(0.5);
    EXPECT_EQ(state()["indexList"].size(), 3u * kAreas + 2) << "the areas, their spots and their structures";
    press("Area 001");
    wait(6);
    EXPECT_EQ(state()["root"], "Area 001");
    EXPECT_EQ(state()["interaction"], true);
}

TEST_F(CrowdedRegion, aQuizOnTheLastAreaCanBeSetUpAndStarted) {
    press("quiz");
    wait(1);
    drawFrame();
    tapView("quizArea Area 500");
    press("Start");
    wait(1);
    EXPECT_EQ(state()["Questions"], ui::Json::array({"Label 499"}));
    EXPECT_EQ(viewer().labelForQuestion->text(),
              "Please zoom in and identify the location of the Structure 499,");
}

} // namespace
