// The index panel in the viewer: sliding in and out, and travelling to a chosen term.
#include "Classes/ForInfo.h"
#include "Classes/IndexViewController.h"
#include "PanelsTest.h"
#include "Platform/Button.h"
#include "Platform/Label.h"

namespace {

class IndexPanel : public PanelsTest {
protected:
    ui::Rect panelFrame() { return viewer().indexView->frame(); }

    void search(const std::string& text) {
        auto& field = indexList().mySearchBar->textField();
        driver.tap(field.convertTo(field.bounds().center(), nullptr));
        ASSERT_TRUE(driver.type(text));
    }

    // The structure's bubble is open in the region that holds it.
    void expectBubbleOf(const std::string& title, const std::string& region) {
        EXPECT_EQ(viewer().root->getHeader(), region);
        ASSERT_TRUE(viewer().labelForFlag);
        EXPECT_EQ(viewer().labelForFlag->text(), title);
        EXPECT_EQ(viewer().labelForFlag->alpha(), 1);
        EXPECT_GE(viewer().viewHint, 0);
        EXPECT_TRUE(viewer().enterArray.empty());
    }
};

TEST_F(IndexPanel, TheIndexButtonSlidesThePanelInFromTheRightAndOutAgain) {
    EXPECT_GT(panelFrame().x(), 320) << "made off screen";
    press("index");
    wait(0.25);
    EXPECT_GT(viewer().indexView->presentationCenter().x, 40 + 140);
    wait(0.25);
    EXPECT_EQ(panelFrame(), ui::Rect(40, 35, 280, 384));
    EXPECT_NE(viewer().buttonForIndex->image().fileName().find("index pressed"), std::string::npos);

    press("index");
    wait(0.5);
    EXPECT_EQ(panelFrame().x(), 325);
    EXPECT_EQ(viewer().buttonForIndex->image().fileName().find("pressed"), std::string::npos);
}

TEST_F(IndexPanel, TheListIsSetUpOnlyOnTheFirstShowingAndKeepsItsSearch) {
    EXPECT_TRUE(driver.state()["indexRows"].empty()) << "not set up before it is first shown";
    press("index");
    wait(0.5);
    search("Ste");
    press("index");
    wait(0.5);
    press("index");
    wait(0.5);
    int languageRows = 0;
    for (const auto& subview : indexList().view()->subviews())
        languageRows += subview.get() == indexList().eng.get() ? 1 : 0;
    EXPECT_EQ(languageRows, 1);
    EXPECT_EQ(driver.state()["indexRows"], nlohmann::ordered_json::array({"Sternum"}));
    EXPECT_EQ(driver.state()["indexList"].size(), indexList().listContent().size());
}

TEST_F(IndexPanel, ChoosingARowTravelsToTheStructureAndOpensItsBubble) {
    press("index");
    wait(0.5);
    search("Ste");
    press("Sternum");
    auto queued = driver.state()["enterArray"];
    EXPECT_EQ(queued, nlohmann::ordered_json::parse(
                          R"(["point:Label Sternum", "view:Anterior", "part:Chest", "part:Trunk"])"))
        << "the row's term, resolved through its information entry";
    EXPECT_FALSE(indexList().mySearchBar->isEditing());
    wait(0.5);
    EXPECT_EQ(panelFrame().x(), 325) << "the journey closes the index";
    wait(8);
    expectBubbleOf("Sternum", "Chest");
}

TEST_F(IndexPanel, AChosenLatinRowTravelsByItsLatinName) {
    press("index");
    wait(0.5);
    press("LATIN");
    EXPECT_EQ(viewer().lang, "lat");
    search("clav");
    EXPECT_EQ(driver.state()["indexRows"], nlohmann::ordered_json::array({"Clavicula"}));
    press("Clavicula");
    wait(9);
    expectBubbleOf("Clavicle", "Chest");
    press("index");
    wait(0.5);
    press("ENG");
    EXPECT_EQ(viewer().lang, "eng");
}

TEST_F(IndexPanel, ARegionRowEntersTheRegion) {
    press("index");
    wait(0.5);
    search("Han");
    press("Hand");
    wait(8);
    EXPECT_EQ(viewer().root->getHeader(), "Hand");
    EXPECT_TRUE(viewer().enterArray.empty());
    EXPECT_EQ(driver.state()["interaction"], true);
}

TEST_F(IndexPanel, TheIndexButtonDoesNothingWhileAJourneyIsQueued) {
    viewer().goToPart("Nail");
    ASSERT_FALSE(viewer().enterArray.empty());
    viewer().displayIndex();
    wait(0.5);
    EXPECT_GT(panelFrame().x(), 320);
}

} // namespace
