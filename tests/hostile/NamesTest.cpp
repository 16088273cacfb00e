// Names far longer than the screen, in right-to-left scripts, with stacked marks, emoji or no UTF-8 at all
// (in the titles list, shown as they are; in the data file, named as a parse error).

#include "HostileTest.h"

using ::testing::Contains;
using ::testing::HasSubstr;

namespace {

std::string longText(const std::string& word, std::size_t characters) {
    std::string text;
    while (text.size() < characters)
        text += word + " ";
    text.pop_back();
    return text;
}

std::string zalgo() {
    std::string text = "Z";
    for (int i = 0; i < 300; ++i)
        text += i % 2 ? "\u0336" : "\u0301";
    return text + "algo";
}

const std::string kLongRegion = longText("Musculoskeletal", 3000);
const std::string kLongTitle = longText("Sternocleidomastoid", 6000);
const std::string kLongListTitle = longText("Atlas", 3000);
const std::string kHebrew = "\u05DC\u05D1";                           // "heart"
const std::string kArabic = "\u0642\u0644\u0628";                     // "heart"
const std::string kMixed = "Aorta \u05D0\u05D1\u05D5\u05E8\u05D8 42"; // left-to-right around right-to-left
const std::string kCombining = "e\u0301tude";                         // an e and a separate acute accent
const std::string kZalgo = zalgo();
const std::string kEmoji = "\U0001FAC0 Heart \U0001F441\uFE0F\u200D\U0001F5E8\uFE0F";
const std::string kTop = kHebrew + " " + kEmoji;

// Flag i of the top view is the structure named kFlagNames[i].
const std::vector<std::string> kFlagNames = {kLongTitle, kHebrew, kMixed, kCombining, kZalgo, kEmoji};

std::string namesAtlas() {
    atlas::BuiltRegion top = regionSketch(kTop, "atlas/HumanBody");
    top.regions = {placedAt(regionSketch(kLongRegion, "atlas/Thorax"), 0, 0, 20),
                   placedAt(regionSketch(kArabic, "atlas/Thorax"), 288, 0, 20)};
    std::vector<atlas::BuiltEntry> entries;
    for (std::size_t i = 0; i < kFlagNames.size(); ++i) {
        std::string id = "Label " + std::to_string(i);
        // The first at the right edge, where its bubble has the least room.
        top.views.front().points.push_back({i == 0 ? 470 : 40 + 70.0 * static_cast<double>(i), 550, id});
        entries.push_back({id, kFlagNames[i], kZalgo, "<p>" + longText("text", 20000) + "</p>"});
    }
    // Last in the file, so that only this entry goes with the parse error its bytes cause.
    entries.push_back({"Label bad", "Br\xff\xfein", "S", "<p>x</p>"});
    return atlasXml(top, entries);
}

using Names = HostileTest;

TEST_F(Names, longInAnyScriptOrNoUtf8AreShownSearchedAndPressedLikeAnyOther) {
    HostileBundle bundle;
    bundle.replaceAtlas(namesAtlas());
    bundle.write("TitlesAndUrls.txt", kLongListTitle +
                                          "||http://127.0.0.1/long\nCaf\xe9||http://127.0.0.1/c\n"
                                          "News\xff||http://127.0.0.1/n");
    launch(bundle);
    wait(0.3);
    ui::Control* title = driver().findControl(kLongListTitle);
    ASSERT_NE(title, nullptr);
    EXPECT_GT(title->frame().width(), 320);
    EXPECT_NE(driver().findControl("News\xff"), nullptr);
    driver().tap({100, 246}); // on its visible part
    driver().tap({45, 276});
    EXPECT_EQ(ui::Application::shared().openedURLs(),
              (std::vector<std::string>{"http://127.0.0.1/long", "http://127.0.0.1/c"}));
    openViewer();
    EXPECT_THAT(log(), HasSubstr("torvex.xml: line "));
    EXPECT_THAT(log(), HasSubstr("not well-formed"));

    EXPECT_EQ(viewer().bar().title()->text(), "Anterior: " + kTop);
    for (const std::string& region : {kLongRegion, kArabic}) {
        enter(region);
        EXPECT_EQ(state()["root"], region);
        EXPECT_EQ(viewer().bar().backCaption()->text(), kTop);
        drawFrame();
        goBack();
        EXPECT_EQ(state()["root"], kTop);
    }

    press("flag");
    wait(0.5);
    for (std::size_t i = 0; i < kFlagNames.size(); ++i) {
        SCOPED_TRACE(i);
        press(std::to_string(i));
        wait(0.5);
        EXPECT_EQ(bubbleTitle(), kFlagNames[i]);
        const ui::ImageView& bubble = *viewer().flagBubbles().hintOfFlag();
        EXPECT_EQ(bubble.alpha(), 1);
        EXPECT_GT(bubble.frame().width(), 40);
        EXPECT_GE(bubble.frame().minX(), 0);
        EXPECT_LE(bubble.frame().maxX(), 320) << "a long name ends with an ellipsis instead";
        drawFrame();
    }

    press("index");
    wait(0.5);
    auto rows = state()["indexRows"].get<std::vector<std::string>>();
    for (const std::string& name : kFlagNames)
        EXPECT_THAT(rows, Contains(name));
    tapView("mySearchBar");
    ASSERT_TRUE(driver().type("\u05DC"));
    EXPECT_EQ(state()["indexRows"], ui::Json::array({kHebrew, kTop}));
    driver().key("BackSpace");
    ASSERT_TRUE(driver().type(std::string("\xff\xfe\xc3", 3)));
    EXPECT_TRUE(state()["indexRows"].empty()) << "bytes that are no UTF-8 match nothing";
    drawFrame();
    for (int key = 0; key < 4; ++key)
        driver().key("BackSpace");
    ASSERT_TRUE(driver().type("e"));
    EXPECT_EQ(state()["indexRows"], ui::Json::array({kCombining}));
    press(kCombining);
    wait(6);
    EXPECT_EQ(bubbleTitle(), kCombining);
    EXPECT_EQ(state()["interaction"], true);
}

} // namespace
