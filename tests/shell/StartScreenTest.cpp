// The start screen's titles, status label and touches, and the flip to the viewer.

#include "ShellTest.h"

namespace {

class StartScreenTest : public ShellTest {
protected:
    void launchWithTitles(const std::string& text) {
        writeCached("TitlesAndUrls.txt", text);
        launch(Network::Offline);
    }
    const ui::ViewPtr& window() { return ui::Application::shared().window(); }
    const std::vector<ui::ViewPtr>& screens() { return window()->subviews(); }
};

TEST_F(StartScreenTest, titlesStopAtTheBottomOfTheScreen) {
    std::string list;
    for (int i = 0; i < 99; ++i)
        list += "Title " + std::to_string(i) + "||http://127.0.0.1/" + std::to_string(i) + "\n";
    launchWithTitles(list);

    ASSERT_EQ(titleButtons().size(), 8u);
    EXPECT_EQ(titleButtons().back()->frame().y(), 450);
}

TEST_F(StartScreenTest, pressingATitleOpensTheAddressOfItsOwnLineOnly) {
    struct Case {
        const char* list;
        const char* title;
        std::vector<std::string> opened;
    } cases[] = {
        {"Atlas||ignored||http://127.0.0.1/third", "Atlas", {"http://127.0.0.1/third"}},
        {"http://127.0.0.1/plain", "http://127.0.0.1/plain", {"http://127.0.0.1/plain"}},
        {"Atlas||http://127.0.0.1/one\nAtlas||http://127.0.0.1/two", "Atlas", {"http://127.0.0.1/two"}},
        {"Nowhere||", "Nowhere", {}},
        {"Plain title", "Plain title", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.list);
        launchWithTitles(c.list);
        ASSERT_TRUE(driver().press(c.title));
        EXPECT_EQ(ui::Application::shared().openedURLs(), c.opened);
        EXPECT_EQ(start().t, 100) << "a pressed title stops the blinking";
        quit();
    }
}

TEST_F(StartScreenTest, aCachedListWithAnAddressThatIsNoWebAddressGivesWayToTheBundleTitles) {
    for (const char* list : {"Mail||mailto:someone@127.0.0.1", "Disk||file:///etc/passwd",
                             "Shell||http://a; rm -rf ~", "Four||fields||are||too many"}) {
        SCOPED_TRACE(list);
        launchWithTitles(list);
        EXPECT_EQ(titles(), (std::vector<std::string>{"Bundle atlas", "Bundle help"}));
        quit();
    }
}

TEST_F(StartScreenTest, theStatusLabelSaysLoadingAndBlinksEveryTickFor52Ticks) {
    launch(Network::Offline);
    ui::Label& label = *start().label;
    EXPECT_EQ(label.text(), "Loading...");

    wait(0.7);
    EXPECT_EQ(label.alpha(), 0);
    EXPECT_NEAR(label.presentationAlpha(), 1, 1e-9) << "the fade has just begun";
    wait(0.5);
    EXPECT_NEAR(label.presentationAlpha(), 0, 1e-9);
    wait(0.2);
    EXPECT_EQ(label.alpha(), 1);
    wait(50 * 0.7);
    EXPECT_EQ(start().t, 52);
    EXPECT_FALSE(start().timer);
    wait(7);
    EXPECT_EQ(start().t, 52);
}

TEST_F(StartScreenTest, touchingWhileLoadingDoesNothingThenTheViewerIsBuiltBehindAndATouchFlipsToIt) {
    launch(Network::Offline);
    driver().tap({160, 420});
    wait(0.1);
    driver().tap({160, 420});
    EXPECT_EQ(start().label->text(), "Loading...");
    EXPECT_FALSE(start().torvexViewController);
    EXPECT_EQ(screens(), std::vector<ui::ViewPtr>{start().view()});

    wait(0.1);
    ASSERT_TRUE(start().torvexViewController) << "built a fifth of a second after the launch";
    const ui::ViewPtr& viewer = start().torvexViewController->view();
    EXPECT_EQ(screens(), (std::vector<ui::ViewPtr>{viewer, start().view()}));
    EXPECT_EQ(start().label->text(), "touch to continue");
    driver().tap({160, 420});
    EXPECT_EQ(screens(), std::vector<ui::ViewPtr>{viewer});
    ASSERT_TRUE(window()->runningTransition()) << "the flip itself shows in the picture tour";
}

} // namespace
