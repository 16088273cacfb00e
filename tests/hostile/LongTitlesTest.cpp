// Names far longer than the screen is wide, in region headers, flag bubbles, index rows and the start
// screen's titles: they are shown cut off where the screen ends, and everything around them works.

#include "HostileTest.h"

#include "Platform/Application.h"
#include "Platform/ImageView.h"
#include "Platform/Label.h"

namespace {

std::string longText(const std::string& word, std::size_t characters) {
    std::string text;
    while (text.size() < characters)
        text += word + " ";
    text.pop_back();
    return text;
}

const std::string kLongRegion = longText("Musculoskeletal", 3000);
const std::string kLongTitle = longText("Sternocleidomastoid", 6000);
const std::string kLongLatin = longText("Musculus", 3000);
const std::string kLongListTitle = longText("Atlas", 3000);

std::string longNamesAtlas() {
    RegionSketch top =
        regionSketch("Body", "atlas/HumanBody",
                     {{240, 550, "Label long"}, {30, 550, "Label long"}, {450, 550, "Label long"}});
    top.subRegions = {
        regionSketch(kLongRegion, "atlas/Thorax", {{240, 300, "Label long"}}).placedAt(0, 0, 20)};
    return atlasXml(top, {{"Label long", kLongTitle, kLongLatin, "<p>" + longText("text", 20000) + "</p>"}});
}

class LongTitles : public HostileTest {
protected:
    void SetUp() override {
        bundle_.replaceAtlas(longNamesAtlas());
        bundle_.write("TitlesAndUrls.txt",
                      kLongListTitle + "||http://127.0.0.1/long\nShort||http://127.0.0.1/s");
        launch(bundle_);
    }
    HostileBundle bundle_;
};

TEST_F(LongTitles, aLongRegionHeaderIsShownInTheTitleBarAndTheBackCaption) {
    openViewer();
    enter(kLongRegion);
    EXPECT_EQ(state()["root"], kLongRegion);
    EXPECT_EQ(viewer().labelTitle->text(), "Anterior: " + kLongRegion);
    EXPECT_EQ(viewer().titleBackButton->text(), "Body");
    drawFrame();
    goBack();
    EXPECT_EQ(state()["root"], "Body");
    EXPECT_EQ(state()["interaction"], true);
}

TEST_F(LongTitles, aLongFlagNameOpensABubbleKeptOnTheScreenWithItsTextInIt) {
    openViewer();
    press("flag");
    wait(0.5);
    for (const char* title : {"0", "1", "2"}) {
        SCOPED_TRACE(title);
        press(title);
        wait(0.5);
        EXPECT_EQ(bubbleTitle(), kLongTitle);
        ASSERT_NE(viewer().labelForFlag, nullptr);
        EXPECT_EQ(viewer().labelForFlag->alpha(), 1);
        EXPECT_EQ(viewer().hintOfFlag->alpha(), 1);
        EXPECT_FALSE(viewer().hintOfFlag->image().empty()) << "the bubble's picture";
        EXPECT_GE(viewer().hintOfFlag->frame().minX(), 0);
        EXPECT_LE(viewer().hintOfFlag->frame().maxX(), 320) << "the name ends with an ellipsis instead";
        drawFrame();
    }
}

TEST_F(LongTitles, aLongTermIsAnIndexRowThatTakesYouToItsStructure) {
    openViewer();
    press("index");
    wait(0.5);
    press(kLongTitle);
    wait(6);
    EXPECT_EQ(bubbleTitle(), kLongTitle);
    EXPECT_EQ(state()["interaction"], true);
    drawFrame();
}

TEST_F(LongTitles, aLongTitleOfTheStartScreenIsShownAndOpensItsAddress) {
    wait(0.3);
    ui::Control* title = driver.findControl(kLongListTitle);
    ASSERT_NE(title, nullptr);
    EXPECT_GT(title->frame().width(), 320);
    EXPECT_NE(driver.findControl("Short"), nullptr);
    drawFrame();
    driver.tap({100, 246}); // on its visible part
    EXPECT_EQ(ui::Application::shared().openedURLs(), (std::vector<std::string>{"http://127.0.0.1/long"}));
}

} // namespace
