// The region information panel and the flag detail panel.
#include "tests/support/TestViewer.h"

#include <algorithm>

namespace {

class InfoPanel : public testviewer::LoadedViewerTest {
protected:
    InfoPanel() : LoadedViewerTest("panels") {}
    ForInfo& region() { return dynamic_cast<ForInfo&>(*viewer().infoPanel().regionPanel()); }
    ForInfo& detail() { return dynamic_cast<ForInfo&>(*viewer().infoPanel().detailPanel()); }
    ui::TextView& regionText() { return *region().textViewForInfo(); }

    // Opens the bubble of the flag standing for `infoId` in the current region.
    void openBubble(const std::string& infoId) {
        if (bubbles().flagsIsHidden())
            bubbles().displayFlags();
        wait(0.5);
        ui::Button* flag = flagOf(infoId);
        ASSERT_NE(flag, nullptr) << infoId;
        tap(*flag);
        wait(0.5);
        ASSERT_TRUE(bubbles().hintOfFlag() && bubbles().infoButtonOfHint());
    }
};

TEST_F(InfoPanel, AShortTextsPanelRisesToTheBarASecondPressBringsTheButtonsBackAndDetailsKeepLineBreaks) {
    bubbles().displayFlags();
    wait(0.5);
    const std::string& text = viewer().infoPanel().info();
    ASSERT_EQ(text, "The whole body, from head to toe.\n");
    press("info");
    // Measured as the panel's text view sets it: 279 wide inside its margins, lines 16 apart.
    float height = static_cast<float>(ui::textSize(text, ui::Font::system(13), 279, 16).height) + 26;
    EXPECT_EQ(region().frame().height(), height);
    EXPECT_EQ(region().presentationCenter().y, 460 + height / 2) << "starts just below the screen";
    wait(0.7);
    EXPECT_EQ(region().frame(), ui::Rect(10, 450 - height, 300, height));
    EXPECT_EQ(regionText().text(), text);
    EXPECT_FALSE(regionText().isUserInteractionEnabled());
    EXPECT_NE(viewer().bar().button(Bar::Info)->image().fileName().find("info pressed"), std::string::npos);
    for (const auto& button : viewer().hotSpots().buttons())
        EXPECT_TRUE(button->isHidden());
    press("info", 0.7); // a second press takes the panel away and brings the region's buttons back
    EXPECT_EQ(region().alpha(), 0);
    EXPECT_EQ(region().center(), (ui::Point{160, 840}));
    EXPECT_EQ(viewer().bar().button(Bar::Info)->image().fileName().find("pressed"), std::string::npos);
    ASSERT_FALSE(viewer().hotSpots().buttons().empty());
    for (const auto& button : viewer().hotSpots().buttons())
        EXPECT_FALSE(button->isHidden());
    ASSERT_FALSE(bubbles().flags().empty());
    for (const auto& flag : bubbles().flags())
        EXPECT_TRUE(flag->isHidden());
    press("flag");
    EXPECT_FALSE(bubbles().flagsIsHidden());
    EXPECT_FALSE(bubbles().flags().front()->isHidden());
    showRegion("Chest"); // the detail panel shows the text with its line breaks
    openBubble("Label Sternum");
    press(bubbles().infoButtonOfHint()->currentTitle(), 0.5);
    EXPECT_EQ(detail().superview(), viewer().view().get());
    EXPECT_EQ(detail().alpha(), 1);
    EXPECT_TRUE(viewer().infoPanel().flagInfo());
    EXPECT_EQ(detail().textViewForInfo()->text(), "The breastbone.\nRibs join it in front.");
}

TEST_F(InfoPanel, ATextTallerThanThreeHundredSixtyIsCutThereAndScrolls) {
    showRegion("Trunk");
    ASSERT_GT(ui::textSize(viewer().infoPanel().info(), ui::Font::system(13), 279, 16).height + 26, 360);
    press("info", 0.7);
    EXPECT_EQ(region().frame(), ui::Rect(10, 90, 300, 360));
    EXPECT_TRUE(regionText().isUserInteractionEnabled());
    EXPECT_GT(regionText().contentSize().height, regionText().bounds().height());
}

TEST_F(InfoPanel, NearTheTopTheDetailPanelGoesBelowTheBubbleNearAnEdgeStaysOnScreenAndUnderTheNames) {
    showRegion("Chest");
    openBubble("Label Sternum");
    viewer().infoPanel().displayInfo(bubbles().infoButtonOfHint());
    EXPECT_GT(detail().center().y, bubbles().hintOfFlag()->center().y) << "no room above";
    EXPECT_EQ(detail().frame().x(), 0) << "flush with the left edge";

    openBubble("Label Lung");
    viewer().infoPanel().displayInfo(bubbles().infoButtonOfHint());
    EXPECT_LT(detail().center().y, bubbles().hintOfFlag()->center().y) << "above, over the bubble's top";
    EXPECT_EQ(detail().frame().maxX(), 320) << "flush with the right edge";
    const auto& siblings = viewer().view()->subviews(); // the bubble's names stay in front of the panel
    auto place = [&](const ui::View* view) {
        return std::find_if(siblings.begin(), siblings.end(),
                            [&](const auto& s) { return s.get() == view; }) -
               siblings.begin();
    };
    ASSERT_GT(detail().frame().maxY(), bubbles().labelForFlag()->frame().minY())
        << "the panel reaches the names";
    EXPECT_GT(place(bubbles().labelForFlag()), place(&detail()));
    EXPECT_GT(place(bubbles().labelForFlagLatin()), place(&detail()));
}

TEST_F(InfoPanel, ALongDetailTextKeepsToThePictureBandAndScrolls) {
    showRegion("Chest");
    for (const auto& entry : viewer().content().allInfo->lastChild()->children) {
        if (entry->attribute("id") == "Label Lung") {
            entry->leafvalue.clear();
            for (int i = 0; i < 40; ++i)
                entry->leafvalue += "The lungs fill most of the chest on both sides of the heart. ";
        }
    }
    openBubble("Label Lung");
    press(bubbles().infoButtonOfHint()->currentTitle(), 0.5);
    EXPECT_GE(detail().frame().minY(), 30);
    EXPECT_LE(detail().frame().maxY(), 450);
    EXPECT_TRUE(detail().textViewForInfo()->isUserInteractionEnabled());
    EXPECT_GT(detail().textViewForInfo()->contentSize().height,
              detail().textViewForInfo()->bounds().height());
}

TEST_F(InfoPanel, WithoutABubbleInfoOnlyTakesTheDetailAwayAndTheRegionPanelClosesBoth) {
    showRegion("Chest");
    ASSERT_EQ(bubbles().shownBubble(), nullptr);
    viewer().view()->addSubview(detail().shared_from_this());
    viewer().infoPanel().displayInfo(nullptr);
    EXPECT_EQ(detail().superview(), nullptr);
    openBubble("Label Heart");
    viewer().infoPanel().displayInfo(bubbles().infoButtonOfHint());
    wait(0.5);
    press("info");
    EXPECT_EQ(detail().alpha(), 0);
    EXPECT_EQ(bubbles().hintOfFlag()->alpha(), 0);
    EXPECT_EQ(bubbles().labelForFlag()->alpha(), 0);
    wait(0.7);
    EXPECT_EQ(region().alpha(), 1);
    EXPECT_EQ(regionText().text(), "The chest holds the heart.\n\nIts wall is made of ribs.");
}

} // namespace
