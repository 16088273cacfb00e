// Names in right-to-left scripts, letters with combining marks (a few, or hundreds stacked on one
// letter), emoji, and bytes that are no UTF-8 at all: they are shown, sorted, searched and pressed like
// any other name; what is not text is shown as replacement characters or named on stderr.

#include "HostileTest.h"

#include "Platform/Application.h"
#include "Platform/Label.h"

using ::testing::Contains;
using ::testing::HasSubstr;

namespace {

const std::string kHebrew = "\u05DC\u05D1";                           // "heart"
const std::string kArabic = "\u0642\u0644\u0628";                     // "heart"
const std::string kMixed = "Aorta \u05D0\u05D1\u05D5\u05E8\u05D8 42"; // left-to-right around right-to-left
const std::string kCombining = "e\u0301tude";                         // an e and a separate acute accent

std::string zalgo() {
    std::string text = "Z";
    for (int i = 0; i < 300; ++i)
        text += i % 2 ? "\u0336" : "\u0301";
    return text + "algo";
}

const std::string kZalgo = zalgo();
const std::string kEmoji = "\U0001FAC0 Heart \U0001F441\uFE0F\u200D\U0001F5E8\uFE0F";

std::string unicodeAtlas() {
    const std::vector<std::pair<std::string, std::string>> names = {
        {kHebrew, kArabic}, {kMixed, kHebrew}, {kCombining, kCombining}, {kZalgo, kZalgo}, {kEmoji, kEmoji}};
    RegionSketch top = regionSketch(kHebrew + " " + kEmoji, "atlas/HumanBody");
    top.subRegions = {regionSketch(kArabic, "atlas/Thorax", {{240, 300, "Label 0"}}).placedAt(0, 0, 20)};
    std::vector<EntrySketch> entries;
    for (std::size_t i = 0; i < names.size(); ++i) {
        std::string id = "Label " + std::to_string(i);
        top.views.front().points.push_back({60 + 80.0 * static_cast<double>(i), 550, id});
        entries.push_back(
            {id, names[i].first, names[i].second, "<p>" + names[i].second + " " + kZalgo + "</p>"});
    }
    return atlasXml(top, entries);
}

class UnicodeText : public HostileTest {
protected:
    void SetUp() override {
        bundle_.replaceAtlas(unicodeAtlas());
        launch(bundle_);
        openViewer();
    }
    void search(const std::string& text) {
        press("index");
        wait(0.5);
        tapView("mySearchBar");
        ASSERT_TRUE(driver.type(text));
    }
    HostileBundle bundle_;
};

TEST_F(UnicodeText, namesInAnyScriptAreShownInTheTitleAndTheBubbles) {
    EXPECT_EQ(viewer().labelTitle->text(), "Anterior: " + kHebrew + " " + kEmoji);
    press("flag");
    wait(0.5);
    const std::vector<std::string> titles = {kHebrew, kMixed, kCombining, kZalgo, kEmoji};
    for (std::size_t i = 0; i < titles.size(); ++i) {
        SCOPED_TRACE(i);
        press(std::to_string(i));
        wait(0.5);
        EXPECT_EQ(bubbleTitle(), titles[i]);
        EXPECT_FALSE(viewer().hintOfFlag->image().empty());
        EXPECT_GT(viewer().hintOfFlag->frame().width(), 40);
        drawFrame();
    }
}

TEST_F(UnicodeText, aRightToLeftRegionIsEnteredAndLeft) {
    enter(kArabic);
    EXPECT_EQ(state()["root"], kArabic);
    drawFrame();
    goBack();
    EXPECT_EQ(state()["root"], kHebrew + " " + kEmoji);
}

TEST_F(UnicodeText, theIndexListsEveryScriptAndSearchesByFirstLetters) {
    press("index");
    wait(0.5);
    auto rows = state()["indexRows"].get<std::vector<std::string>>();
    for (const std::string& name : {kHebrew, kMixed, kCombining, kZalgo, kEmoji, kArabic})
        EXPECT_THAT(rows, Contains(name));
    drawFrame();
    tapView("mySearchBar");
    ASSERT_TRUE(driver.type("\u05DC"));
    EXPECT_EQ(state()["indexRows"], ui::Json::array({kHebrew, kHebrew + " " + kEmoji}));
    driver.key("BackSpace");
    ASSERT_TRUE(driver.type("e"));
    EXPECT_EQ(state()["indexRows"], ui::Json::array({kCombining}));
    drawFrame();
}

TEST_F(UnicodeText, aStructureWithStackedMarksIsFoundFromTheIndex) {
    chooseFromIndex(kZalgo);
    EXPECT_EQ(bubbleTitle(), kZalgo);
    EXPECT_EQ(state()["interaction"], true);
}

TEST_F(UnicodeText, bytesThatAreNoUtf8TypedIntoTheSearchMatchNothingAndBreakNothing) {
    search(std::string("\xff\xfe\xc3", 3));
    EXPECT_TRUE(state()["indexRows"].empty());
    drawFrame();
    for (int key = 0; key < 4; ++key)
        driver.key("BackSpace");
    EXPECT_EQ(state()["indexRows"].size(), state()["indexList"].size());
}

using NoUtf8 = HostileTest;

TEST_F(NoUtf8, aDataFileWithBytesThatAreNoUtf8IsReadUpToThemAndTheLineIsNamed) {
    HostileBundle bundle;
    std::string xml = readWholeFile(bundle.file("torvex.xml"));
    std::size_t at = xml.find("title=\"Brain\"");
    ASSERT_NE(at, std::string::npos);
    xml.replace(at, 13, "title=\"Br\xff\xfein\"");
    bundle.replaceAtlas(xml);
    launch(bundle);
    openViewer();

    EXPECT_THAT(log(), HasSubstr("torvex.xml: line "));
    EXPECT_THAT(log(), HasSubstr("not well-formed"));
    EXPECT_EQ(state()["root"], "Human Body");
    press("flag");
    wait(0.5);
    EXPECT_FALSE(visibleFlagTitles().empty());
    drawFrame();
}

TEST_F(NoUtf8, aTitlesListWithBytesThatAreNoUtf8ShowsItsTitlesWithReplacementCharacters) {
    HostileBundle bundle;
    bundle.write("TitlesAndUrls.txt",
                 std::string("Caf\xe9||http://127.0.0.1/c\nNews\xff||http://127.0.0.1/n"));
    launch(bundle);
    wait(0.3);
    EXPECT_NE(driver.findControl("News\xff"), nullptr);
    drawFrame();
    driver.tap({45, 246});
    EXPECT_EQ(ui::Application::shared().openedURLs(), (std::vector<std::string>{"http://127.0.0.1/c"}));
}

} // namespace
