#include "ToolkitTest.h"

#include "Platform/Animation.h"
#include "Platform/Browser.h"
#include "Platform/Button.h"
#include "Platform/Label.h"
#include "Platform/Script.h"
#include "Platform/Timer.h"
#include "tests/support/CommandRun.h"

using namespace ui;

namespace {

class ScriptTest : public ToolkitTest {
protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        start = make<Button>(ButtonType::RoundedRect, Rect{100, 200, 120, 40});
        start->setTitle("Start");
        start->setIdentifier("startButton");
        start->addAction([this](Button*) { presses.push_back("Start"); });
        window().addSubview(start);
    }

    // Runs a whole script; returns its status, with what it printed in `out` and `err`.
    int run(const std::string& script) {
        std::istringstream in(script);
        out.str(""), err.str("");
        return Script::run(in, driver, out, err);
    }

    ButtonPtr start;
    std::vector<std::string> presses;
    std::ostringstream out, err;
};

struct FocusedField : View {
    std::string typed;
    bool canBecomeFirstResponder() const override { return true; }
    void insertText(const std::string& text) override { typed += text; }
    void pressKey(const std::string& name) override { typed += "<" + name + ">"; }
};

TEST_F(ScriptTest, PressRefusesCoveredHiddenTransparentOrMissingControlsNamingWhatCoversThem) {
    auto cover = addView(window(), {0, 0, 320, 480}, "cover");
    auto covered = driver.press("Start");
    EXPECT_FALSE(covered);
    EXPECT_NE(covered.error().find("View \"cover\""), std::string::npos) << covered.error();
    cover->removeFromSuperview();
    start->setHidden(true);
    EXPECT_FALSE(driver.press("Start"));
    start->setHidden(false);
    start->setAlpha(0);
    EXPECT_FALSE(driver.press("Start"));
    EXPECT_FALSE(driver.press("Stop"));
    EXPECT_TRUE(presses.empty());
}

TEST_F(ScriptTest, MalformedLinesAreErrors) {
    for (const char* line : {"wait", "wait -1", "wait soon", "tap 1", "tap 1 2 3", "drag 0 0 1",
                             "drag 0 0 1 1 -2", "press", "screenshot", "dump now", "key Meta", "key",
                             "wheel 1 2", "resize 10 10", "type hello", "alert Next", "fly 1 2"}) {
        EXPECT_FALSE(Script::runLine(line, driver, out)) << line;
    }
}

TEST_F(ScriptTest, AFailingLineStopsTheRunNamingItAndOverlongWaitsOrDragsFailBeforeTheClockMoves) {
    int ticks = 0;
    Timer::scheduled(0.85, true, [&] { ++ticks; });

    EXPECT_EQ(run("wait 1e12\n"), 1);
    EXPECT_EQ(err.str(), "script line 1 \"wait 1e12\": a wait lasts at most an hour (3600 seconds)\n");
    EXPECT_EQ(run("drag 0 0 300 400 70460\n"), 1);
    EXPECT_EQ(err.str(),
              "script line 1 \"drag 0 0 300 400 70460\": a drag lasts at most a minute (60 seconds)\n");
    EXPECT_EQ(RunLoop::main().now(), 0);
    EXPECT_EQ(ticks, 0);

    EXPECT_EQ(run("wait 3600\ndrag 0 0 300 400 60\n"), 0) << err.str();
    EXPECT_NEAR(RunLoop::main().now(), 3660, 1e-6);
    EXPECT_EQ(run("wait 1\npress Stop\nwait 1\n"), 1);
    EXPECT_EQ(err.str(), "script line 2 \"press Stop\": no visible, touchable control titled \"Stop\"\n");
    EXPECT_NEAR(RunLoop::main().now(), 3661, 1e-6) << "a failing line stops the run";
}

TEST_F(ScriptTest, TextThatIsNotUtf8IsDumpedWithReplacementCharacters) {
    start->setTitle("Caf\xe9");
    auto field = make<FocusedField>();
    window().addSubview(field);
    ASSERT_TRUE(field->becomeFirstResponder());

    EXPECT_EQ(run("type na\xefve\ndump\nstate\n"), 0) << err.str();

    auto lines = jsonLines(out.str());
    ASSERT_EQ(lines.size(), 2u) << "the dump and the state";
    EXPECT_EQ(lines[0]["subviews"][0]["title"], "Caf\uFFFD");
    EXPECT_EQ(field->typed, "na\xefve");
}

TEST_F(ScriptTest, DumpShowsEveryViewWithModelValuesInOrderAndItsFrameOnTheScreen) {
    auto label = make<Label>(Rect{15, 5, 310, 20});
    label->setText("Skeleton");
    label->setIdentifier("labelTitle");
    window().addSubview(label);
    Animation::run(1.0, [&] { label->setAlpha(0); });
    EXPECT_EQ(run("dump\n"), 0);
    auto tree = Json::parse(out.str());
    EXPECT_EQ(tree["class"], "View");
    EXPECT_EQ(tree["id"], "window");
    ASSERT_EQ(tree["subviews"].size(), 2u);
    auto button = tree["subviews"][0];
    EXPECT_EQ(button["class"], "Button");
    EXPECT_EQ(button["id"], "startButton");
    EXPECT_EQ(button["title"], "Start");
    EXPECT_EQ(button["frame"], Json::parse("[100, 200, 120, 40]"));
    auto dumpedLabel = tree["subviews"][1];
    EXPECT_EQ(dumpedLabel["text"], "Skeleton");
    EXPECT_EQ(dumpedLabel["alpha"], 0);
    EXPECT_EQ(dumpedLabel["interaction"], false);
    // The screen frame includes the transforms of the superviews.
    auto panel = addView(window(), {0, 0, 100, 100}, "panel");
    auto inner = addView(*panel, {10, 10, 10, 10}, "inner");
    panel->setTransform(AffineTransform::scale(2, 2));
    auto dumpedPanel = driver.dumpTree()["subviews"][2];
    EXPECT_EQ(dumpedPanel["transform"], Json::parse("[2, 0, 0, 2, 0, 0]"));
    EXPECT_EQ(dumpedPanel["subviews"][0]["frame"], Json::parse("[10, 10, 10, 10]"));
    EXPECT_EQ(dumpedPanel["subviews"][0]["screenFrame"], Json::parse("[-30, -30, 20, 20]"));
}

// What the letterboxed screen looks like is the picture tour's, where clicks land the window test's.
TEST_F(ScriptTest, AResizedWindowTakesTheLargestScaleThatFitsAndTheStateSaysSo) {
    EXPECT_EQ(run("resize 1000 600\nkey F11\nstate\n"), 0) << err.str();
    Json state = Json::parse(out.str());
    EXPECT_EQ(state["windowSize"], Json::array({1000, 600}));
    EXPECT_EQ(state["pixelsPerPoint"], 1.25);
    EXPECT_EQ(state["fullscreen"], true);
    EXPECT_EQ(run("resize 20 20000\n"), 1);
}

TEST_F(ScriptTest, OnlyWebAddressesAreOpenedAndHeadlessRunsRecordThem) {
    EXPECT_TRUE(openURL("http://example.org/path?q=1#top"));
    EXPECT_FALSE(openURL("file:///etc/passwd"));
    EXPECT_FALSE(openURL("javascript:alert(1)"));
    EXPECT_FALSE(openURL("https://"));
    EXPECT_FALSE(openURL("https://example.org/$(reboot) x"));
    EXPECT_FALSE(openURL("https://example.org/\"quoted\""));
    EXPECT_FALSE(openURL("--help"));
    EXPECT_EQ(Application::shared().openedURLs(),
              (std::vector<std::string>{"http://example.org/path?q=1#top"}));
}

} // namespace
