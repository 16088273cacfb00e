// Crowds on one screen: a view with 10000 flags, each its own structure, and a region with 500
// sub-regions side by side (500 title buttons and 500 pulsing rings). Both stay usable.

#include "HostileTest.h"

#include "Platform/Button.h"

using ::testing::StartsWith;

namespace {

constexpr int kFlags = 10000, kFlagColumns = 100;

std::string crowdedViewAtlas() {
    atlas::BuiltRegion dense = regionSketch("Dense", "atlas/Thorax");
    std::vector<atlas::BuiltPoint>& points = dense.views.front().points;
    std::vector<atlas::BuiltEntry> entries;
    for (int i = 0; i < kFlags; ++i) {
        std::string id = "Label " + std::to_string(i);
        points.push_back({4.8 * (i % kFlagColumns) + 2, 6.3 * (i / kFlagColumns) + 3, id});
        entries.push_back({id, "Structure " + std::to_string(i), "Structura", "<p>x</p>"});
    }
    atlas::BuiltRegion top = regionSketch("Body", "atlas/HumanBody");
    top.regions = {placedAt(dense, 0, 0, 100)};
    return atlasXml(top, entries);
}

using ManyFlags = HostileTest;

TEST_F(ManyFlags, showOpenTheBubbleOfTheFlagInFrontAndTheIndexFindsAnyOfThem) {
    HostileBundle bundle;
    bundle.replaceAtlas(crowdedViewAtlas());
    launch(bundle);
    openViewer();
    enter("Dense");
    press("flag");
    wait(0.5);
    EXPECT_EQ(viewer().flagBubbles().flags().size(), static_cast<std::size_t>(kFlags));
    EXPECT_GT(visibleFlagTitles().size(), kFlags * 8 / 10);
    drawFrame();
    driver().tap({160, 240});
    wait(0.5);
    EXPECT_THAT(bubbleTitle(), StartsWith("Structure "));
    EXPECT_EQ(viewer().flagBubbles().hintOfFlag()->alpha(), 1);
    drawFrame();

    chooseFromIndex("Structure 5050");
    EXPECT_EQ(bubbleTitle(), "Structure 5050");
    EXPECT_EQ(state()["interaction"], true);
}

constexpr int kAreaColumns = 25, kAreaRows = 20, kAreas = kAreaColumns * kAreaRows;
// Design space is 480 x 630; each area takes a cell of the grid (4 % of the picture is 19.2 x 25.2).
constexpr double kCellWidth = 480.0 / kAreaColumns, kCellHeight = 630.0 / kAreaRows, kScale = 4;

std::string areaName(int i) {
    std::string number = std::to_string(i + 1);
    return "Area " + std::string(3 - number.size(), '0') + number; // "Area 001" sorts before "Area 010"
}

std::string crowdedRegionAtlas() {
    atlas::BuiltRegion top = regionSketch("Crowd", "atlas/HumanBody", {{240, 100, "Label top"}});
    std::vector<atlas::BuiltEntry> entries{{"Label top", "Top", "Summum", "<p>The top.</p>"}};
    for (int i = 0; i < kAreas; ++i) {
        top.regions.push_back(
            placedAt(regionSketch(areaName(i), "atlas/Thorax", {{240, 300, "Label " + std::to_string(i)}}),
                     (i % kAreaColumns) * kCellWidth, (i / kAreaColumns) * kCellHeight, kScale));
        entries.push_back({"Label " + std::to_string(i), "Structure " + std::to_string(i), "S", "<p>x</p>"});
    }
    return atlasXml(top, entries);
}

// The screen point at the middle of area i's place.
ui::Point centreOfArea(int i) {
    return {((i % kAreaColumns) + 0.5) * kCellWidth / 1.5,
            ((i / kAreaColumns) * kCellHeight + 12.6) / 1.5 + 30};
}

using CrowdedRegion = HostileTest;

TEST_F(CrowdedRegion, pulsesEveryRingEntersEveryPlacesOwnAreaAndTheIndexTakesAnyAreaThere) {
    HostileBundle bundle;
    bundle.replaceAtlas(crowdedRegionAtlas());
    launch(bundle);
    openViewer();
    driver().tap({160, (10 * kCellHeight + 28) / 1.5 + 30}); // between two rows of areas
    wait(0.9);
    int pulsing = 0;
    for (const auto& ring : viewer().hotSpots().hotSpotButtons())
        pulsing += !ring->isHidden() && ring->hasRunningAnimations() ? 1 : 0;
    EXPECT_EQ(pulsing, kAreas);
    drawFrame();

    for (int i : {2, 262, 499}) { // the first lies under the background switch
        wait(1);
        driver().tap(centreOfArea(i));
        wait(0.85);
        EXPECT_EQ(state()["root"], areaName(i));
        goBack();
        EXPECT_EQ(state()["root"], "Crowd");
    }

    press("index");
    wait(0.5);
    EXPECT_EQ(state()["indexList"].size(), 2u * kAreas + 2) << "the areas, their structures and the top's";
    press("Area 001");
    wait(6);
    EXPECT_EQ(state()["root"], "Area 001");
    EXPECT_EQ(state()["interaction"], true);
}

} // namespace
