#include "ToolkitTest.h"

#include "tests/support/PictureBytes.h"
#include "tests/support/TemporaryFolder.h"

#include "Platform/Animation.h"
#include "Platform/Browser.h"
#include "Platform/Button.h"
#include "Platform/Label.h"
#include "Platform/Letterbox.h"
#include "Platform/Script.h"
#include "Platform/Timer.h"

#include <filesystem>
#include <sstream>

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

struct FakeAlert : ModalAlert {
    std::vector<std::string> pressed;
    Json description() const override {
        return {{"title", "Correct answer"}, {"message", ""}, {"buttons", {"Next"}}};
    }
    bool pressButton(const std::string& title) override {
        if (title != "Next")
            return false;
        pressed.push_back(title);
        return true;
    }
};

struct FocusedField : View {
    std::string typed;
    bool canBecomeFirstResponder() const override { return true; }
    void insertText(const std::string& text) override { typed += text; }
    void pressKey(const std::string& name) override { typed += "<" + name + ">"; }
};

TEST_F(ScriptTest, PressTapsTheControlWithThatTitleAndWaitMovesTheClock) {
    EXPECT_EQ(run("press Start\nwait 0.5\n# a comment\n\nstate\n"), 0) << err.str();
    EXPECT_EQ(presses.size(), 1u);
    auto state = Json::parse(out.str());
    EXPECT_EQ(state["time"], 0.5);
    EXPECT_EQ(state["interaction"], true);
    EXPECT_EQ(state["alert"], nullptr);
    EXPECT_EQ(state["openedURLs"], Json::array());
}

TEST_F(ScriptTest, PressChoosesTheFrontMostMatchAndRefusesHiddenCoveredOrMissingControls) {
    auto twin = make<Button>(ButtonType::Custom, Rect{0, 0, 50, 50});
    twin->setTitle("Start");
    twin->addAction([this](Button*) { presses.push_back("twin"); });
    window().addSubview(twin);
    EXPECT_TRUE(driver.press("Start"));
    EXPECT_EQ(presses, (std::vector<std::string>{"twin"}));

    twin->setHidden(true);
    auto cover = addView(window(), {0, 0, 320, 480}, "cover");
    auto covered = driver.press("Start");
    EXPECT_FALSE(covered);
    EXPECT_NE(covered.error().find("View \"cover\""), std::string::npos) << covered.error();

    cover->removeFromSuperview();
    start->setAlpha(0);
    EXPECT_FALSE(driver.press("Start"));
    EXPECT_FALSE(driver.press("Stop"));
}

TEST_F(ScriptTest, AFailingLineStopsTheRunAndIsNamedInTheMessage) {
    EXPECT_EQ(run("wait 1\npress Stop\nwait 1\n"), 1);
    EXPECT_EQ(err.str(), "script line 2 \"press Stop\": no visible, touchable control titled \"Stop\"\n");
    EXPECT_EQ(RunLoop::main().now(), 1);
}

TEST_F(ScriptTest, MalformedLinesAreErrors) {
    for (const char* line : {"wait", "wait -1", "wait soon", "tap 1", "tap 1 2 3", "drag 0 0 1",
                             "drag 0 0 1 1 -2", "press", "screenshot", "dump now", "key Meta", "key",
                             "wheel 1 2", "resize 10 10", "type hello", "alert Next", "fly 1 2"}) {
        EXPECT_FALSE(Script::runLine(line, driver, out)) << line;
    }
}

TEST_F(ScriptTest, AWaitLongerThanAnHourOrADragLongerThanAMinuteIsRefusedBeforeTheClockMoves) {
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
}

TEST_F(ScriptTest, TextThatIsNotUtf8IsDumpedWithReplacementCharacters) {
    start->setTitle("Caf\xe9");
    auto field = make<FocusedField>();
    window().addSubview(field);
    ASSERT_TRUE(field->becomeFirstResponder());

    EXPECT_EQ(run("type na\xefve\ndump\nstate\n"), 0) << err.str();

    std::istringstream lines(out.str());
    std::string dump, state;
    std::getline(lines, dump);
    std::getline(lines, state);
    EXPECT_EQ(Json::parse(dump)["subviews"][0]["title"], "Caf\uFFFD");
    EXPECT_EQ(field->typed, "na\xefve");
    EXPECT_TRUE(Json::parse(state).is_object());
}

TEST_F(ScriptTest, DumpShowsEveryViewWithModelValuesInOrder) {
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
}

TEST_F(ScriptTest, TheScreenFrameIncludesTheTransformsOfTheSuperviews) {
    auto panel = addView(window(), {0, 0, 100, 100}, "panel");
    auto inner = addView(*panel, {10, 10, 10, 10}, "inner");
    panel->setTransform(AffineTransform::scale(2, 2));
    auto dumped = driver.dumpTree()["subviews"][1]["subviews"][0];
    EXPECT_EQ(dumped["frame"], Json::parse("[10, 10, 10, 10]"));
    EXPECT_EQ(dumped["screenFrame"], Json::parse("[-30, -30, 20, 20]"));
    EXPECT_EQ(driver.dumpTree()["subviews"][1]["transform"], Json::parse("[2, 0, 0, 2, 0, 0]"));
}

TEST_F(ScriptTest, StateCarriesTheOpenAlertOpenedAddressesAndProviders) {
    auto alert = std::make_shared<FakeAlert>();
    Application::shared().setModalAlert(alert);
    Application::shared().addStateProvider("viewer", [] { return Json{{"viewTorvex", "Anterior"}}; });
    openURL("https://example.org/a");
    EXPECT_EQ(run("state\nalert Next\n"), 0) << err.str();
    auto state = Json::parse(out.str());
    EXPECT_EQ(state["alert"]["title"], "Correct answer");
    EXPECT_EQ(state["openedURLs"], Json::parse(R"(["https://example.org/a"])"));
    EXPECT_EQ(state["viewer"]["viewTorvex"], "Anterior");
    EXPECT_EQ(alert->pressed, (std::vector<std::string>{"Next"}));
    EXPECT_FALSE(driver.alert("Find"));
}

TEST_F(ScriptTest, TypedTextAndKeysGoToTheFocusedField) {
    auto field = make<FocusedField>();
    window().addSubview(field);
    ASSERT_TRUE(field->becomeFirstResponder());
    EXPECT_EQ(run("type Tibia\nkey BackSpace\nkey Return\n"), 0) << err.str();
    EXPECT_EQ(field->typed, "Tibia<BackSpace><Return>");
    field->removeFromSuperview();
    EXPECT_FALSE(driver.type("more"));
}

TEST_F(ScriptTest, AScreenshotIsAPictureOfTheWholeScreenAtTheScale) {
    TemporaryFolder folder;
    EXPECT_EQ(run("screenshot " + (folder / "shot.png") + "\n"), 0) << err.str();
    EXPECT_EQ(Image::fromFile(folder / "shot.png").pixelSize(), (Size{640, 960}));
    EXPECT_EQ(run("screenshot /nonexistent-folder/x.png\n"), 1);
}

TEST_F(ScriptTest, AResizedWindowLetterboxesTheScreenAtTheLargestScaleThatFitsAndTheStateSaysSo) {
    TemporaryFolder folder;
    std::string path = folder / "resized.png";
    EXPECT_EQ(run("resize 1000 600\nkey F11\nstate\nscreenshot " + path + "\n"), 0) << err.str();
    Json state = Json::parse(out.str());
    EXPECT_EQ(state["windowSize"], Json::array({1000, 600}));
    EXPECT_EQ(state["pixelsPerPoint"], 1.25);
    EXPECT_EQ(state["fullscreen"], true);
    auto picture = Image::fromFile(path);
    ASSERT_EQ(picture.pixelSize(), (Size{1000, 600}));
    // The 400 x 600 pixel screen sits in the middle; the margin is plain dark grey.
    const testpictures::Rgba margin{0x1c, 0x1c, 0x1c};
    auto pixel = [&](int x, int y) { return testpictures::pixelAt(picture.surface(), x, y); };
    EXPECT_EQ(pixel(5, 300), margin);
    EXPECT_EQ(pixel(995, 300), margin);
    EXPECT_NE(pixel(500, 275), margin); // the Start button
    EXPECT_NE(pixel(310, 300), margin);

    Letterbox box(Application::screenSize, {1000, 600});
    EXPECT_EQ(box.screenPoint({300 + 160 * 1.25, 220 * 1.25}), (Point{160, 220}));
    EXPECT_FALSE(box.screenPoint({299, 300}));
    EXPECT_FALSE(box.screenPoint({700, 300}));
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
