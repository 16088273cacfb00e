#include "ViewerTest.h"

using Display = ViewerTest;

namespace {

// A region with one "Anterior" view holding `hitArea`'s attributes, and no sub-regions.
std::unique_ptr<TreeNode> regionWithHitArea(const std::string& header,
                                            std::initializer_list<NodeAttributes::Attribute> hitArea) {
    auto region = TreeNode::initWithKey("part");
    region->setAttribute("header", header);
    TreeNode* views = region->appendChild(TreeNode::initWithKey("views"));
    TreeNode* view = views->appendChild(TreeNode::initWithKey("view"));
    view->setAttribute("header", "Anterior");
    view->appendChild(TreeNode::initWithKey("hitarea"))->dattributes = NodeAttributes(hitArea);
    region->appendChild(TreeNode::initWithKey("parts"));
    return region;
}

} // namespace

TEST_F(Display, putsTitleButtonsAndRingsWhereTheHitAreasSayAndOnlyRingsWhereOneIsMarkedAbsent) {
    TorvexView& v = viewer();
    EXPECT_EQ(titlesOf(v.hotSpots().buttons()), (std::vector<std::string>{"Arm", "Forearm", "Hand"}));
    EXPECT_EQ(titlesOf(v.hotSpots().hotSpotButtons()), (std::vector<std::string>{"Arm", "Forearm", "Hand"}));
    EXPECT_TRUE(sameRect(v.hotSpots().buttons()[0]->frame(), {96, 30, 128, 168}));
    EXPECT_TRUE(sameRect(v.hotSpots().buttons()[1]->frame(), {104, 198, 112, 220 / 1.5}));
    EXPECT_TRUE(sameRect(v.hotSpots().buttons()[2]->frame(), {116, 472 / 1.5 + 30, 80, 157 / 1.5}));
    EXPECT_EQ(v.hotSpots().buttons()[0]->titleFont().size, 0);
    EXPECT_TRUE(sameRect(v.hotSpots().hotSpotButtons()[0]->frame(), {140, 94, 40, 40}));
    EXPECT_TRUE(v.hotSpots().hotSpotButtons()[0]->isHidden());
    EXPECT_FLOAT_EQ(v.hotSpots().scaleOfHotSpot()[0], 0.12f);
    EXPECT_FLOAT_EQ(v.hotSpots().scaleOfHotSpot()[1], 0.1f);
    EXPECT_FLOAT_EQ(v.hotSpots().scaleOfHotSpot()[2], 0.08f);
    showRegion("Upper Limb", "Posterior"); // a hit area marked absent gets a ring but no title button
    v.cleanButtons();
    v.updatePart(TorvexView::subRegionsOf(v.currentRegion()));
    EXPECT_EQ(titlesOf(v.hotSpots().buttons()), (std::vector<std::string>{"Arm", "Forearm"}));
    EXPECT_EQ(titlesOf(v.hotSpots().hotSpotButtons()), (std::vector<std::string>{"Arm", "Forearm", "Hand"}));
    EXPECT_FLOAT_EQ(v.hotSpots().scaleOfHotSpot()[2], 0.08f);
}

TEST_F(Display, theScalpelTakesARegionAtItsMarkAndMoreRingsGetMoreSlots) {
    NodeList regions;
    regions.push_back(regionWithHitArea("Nerve - L", {{"x", "381"}, {"y", "54"}}));
    regions.push_back(regionWithHitArea("Vein - L", {{"x", "380.9"}, {"y", "54.5"}}));
    regions.push_back(regionWithHitArea("Artery", {{"x", "30"}, {"y", "30"}}));
    viewer().cleanButtons();
    viewer().updatePart(regions);
    EXPECT_EQ(scalpel().currentTitle(), "Vein - L");
    EXPECT_FALSE(scalpel().isHidden());
    EXPECT_EQ(titlesOf(viewer().hotSpots().buttons()), (std::vector<std::string>{"Nerve - L"}));
    regions.clear(); // more rings than slots get more slots
    for (int i = 0; i < 25; ++i)
        regions.push_back(regionWithHitArea("Part " + std::to_string(i), {{"sscale", "50"}}));
    viewer().cleanButtons();
    viewer().updatePart(regions);
    ASSERT_EQ(viewer().hotSpots().scaleOfHotSpot().size(), 25u);
    EXPECT_FLOAT_EQ(viewer().hotSpots().scaleOfHotSpot()[24], 0.1f);
}

TEST_F(Display, viewSettingsGiveThePlainTextAndTheRingsAndLayingAPanelOutAgainAddsNothing) {
    EXPECT_EQ(viewer().infoPanel().info(),
              "The upper limb reaches from the shoulder to the fingertips.\n\n"
              "Press a ring to look closer at the arm, the forearm or the hand.\n");
    EXPECT_TRUE(viewer().hotSpots().hotSpotOn());
    enter("Arm");
    EXPECT_EQ(viewer().zoomOut(), (ui::Point{96, 0}));
    EXPECT_EQ(state()["scale"], 40);
    EXPECT_EQ(viewer().infoPanel().info(), "The arm lies between the shoulder & the elbow.\n");
    enter("Elbow");
    EXPECT_FALSE(viewer().hotSpots().hotSpotOn());
    ForInfo& panel =
        dynamic_cast<ForInfo&>(*viewer().infoPanel().regionPanel()); // laying a panel out again adds nothing
    panel.textViewForInfo()->setUserInteractionEnabled(true);
    std::size_t parts = panel.subviews().size();
    panel.updateView();
    panel.drawRect(panel.bounds());
    panel.updateView();
    EXPECT_EQ(panel.subviews().size(), parts);
    EXPECT_FALSE(panel.textViewForInfo()->isUserInteractionEnabled());
}

using ImageButtons = ViewerTest;

TEST_F(ImageButtons, aMissingPictureGivesAButtonWithoutSizeAndBothBackgroundsKeepTheTitleReadable) {
    auto ring = viewer().imageButton("Arm", TorvexView::HotSpotButton, 100, 200, "no such picture");
    EXPECT_TRUE(sameRect(ring->frame(), {100, 200, 0, 0}));
    auto thumbnail = viewer().imageButton("Nowhere", TorvexView::ViewButton, 53, 82, "Nowhere");
    EXPECT_TRUE(thumbnail->currentImage().empty());
    EXPECT_EQ(thumbnail->currentTitle(), "Nowhere");
    wait(1); // two presses of the background switch restore it
    TorvexView& v = viewer();
    driver.tap(v.bar().button(Bar::BackgroundSwitch)->center());
    EXPECT_FALSE(v.bar().blackBackground());
    EXPECT_EQ(v.view()->backgroundColor(), ui::Color::white());
    EXPECT_NE(v.bar().button(Bar::BackgroundSwitch)->currentImage().fileName().find("blackButton"),
              std::string::npos);
    driver.tap(v.bar().button(Bar::BackgroundSwitch)->center());
    EXPECT_TRUE(v.bar().blackBackground());
    EXPECT_EQ(v.view()->backgroundColor(), ui::Color::black());
    EXPECT_NE(v.bar().button(Bar::BackgroundSwitch)->currentImage().fileName().find("whiteButton"),
              std::string::npos);
    for (int press = 0; press < 2; ++press) { // the title line keeps its contrast on either background
        EXPECT_GE(testviewer::contrast(testviewer::luminance(viewer().bar().title()->textColor()),
                                       testviewer::luminance(viewer().view()->backgroundColor())),
                  4.5)
            << (viewer().bar().blackBackground() ? "on black" : "on white");
        viewer().bar().changeBackgroundColor(nullptr);
    }
}
