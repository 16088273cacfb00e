// Where the start screen's titles and picture come from, when they arrive, and when the cached copies
// change.

#include "ShellTest.h"

namespace {

using Reply = LoopbackHttpServer::Reply;

const std::string serverTitles = "Server atlas||http://127.0.0.1/atlas\nServer news||http://127.0.0.1/news";
const std::string cachedTitles = "Cached atlas||http://127.0.0.1/cached";

class StartContentTest : public ShellTest {
protected:
    void serveGoodContent() {
        serve("/TitlesAndUrls.txt", Reply::answer(200, serverTitles));
        serve("/torvexStart.jpg", Reply::answer(200, serverPicture));
    }
    bool screenShown() { return start().label != nullptr; }
    // Online, with the titles served at once and the picture held back until `releaseServer()`.
    void launchWithThePictureHeld() {
        serve("/TitlesAndUrls.txt", Reply::answer(200, serverTitles));
        serve("/torvexStart.jpg", Reply::held(Reply::answer(200, serverPicture)));
        launch(Network::Online);
        settle(1);
    }

    const std::string serverPicture = testpictures::solidPng(30, 40, 0.2, 0.6, 0.3);
    const std::string cachedPicture = testpictures::solidPng(24, 24, 0.9, 0.9, 0.1);
};

// Online, then offline or with the fetch setting off: the later starts show the copies kept.
TEST_F(StartContentTest, titlesArrivingInTimeShowWithTheScreenThePictureAtTheFifthBlinkAndBothOnLaterStarts) {
    serveGoodContent();
    launch(Network::Online);
    EXPECT_FALSE(screenShown()) << "the screen waits for the titles";
    settle();

    EXPECT_EQ(readCached("TitlesAndUrls.txt"), serverTitles);
    EXPECT_EQ(titles(), (std::vector<std::string>{"Server atlas", "Server news"}));
    EXPECT_EQ(readCached("torvexStart.jpg"), serverPicture) << "kept as soon as it arrives";
    EXPECT_EQ(shownPictureSize(), (ui::Size{16, 16})) << "the bundle picture until the fifth blink";

    wait(4 * 0.7);
    EXPECT_EQ(shownPictureSize(), (ui::Size{16, 16}));
    wait(0.7);
    EXPECT_EQ(shownPictureSize(), (ui::Size{30, 40}));
    quit();
    EXPECT_TRUE(SettingsManager::getInstance().boolSetting(StartViewController::fetchStartContentKey, false))
        << "a sound setting is written once";
    int asked = requests();

    launch(Network::Offline);
    waitForStartPictureTick();
    EXPECT_FALSE(delegate().internet);
    EXPECT_EQ(titles(), (std::vector<std::string>{"Server atlas", "Server news"}));
    EXPECT_EQ(shownPictureSize(), (ui::Size{30, 40}));
    quit();

    SettingsManager::getInstance().setBoolSetting(StartViewController::fetchStartContentKey, false);
    launch(Network::Online);
    EXPECT_TRUE(screenShown());
    waitForStartPictureTick();
    EXPECT_EQ(requests(), asked);
    EXPECT_EQ(titles(), (std::vector<std::string>{"Server atlas", "Server news"}));
}

TEST_F(StartContentTest, aPictureArrivingAfterTheFifthBlinkIsShownWhenItArrives) {
    launchWithThePictureHeld();
    waitForStartPictureTick();
    wait(1);
    EXPECT_EQ(shownPictureSize(), (ui::Size{16, 16}));

    releaseServer();
    settle();

    EXPECT_EQ(shownPictureSize(), (ui::Size{30, 40}));
    EXPECT_EQ(readCached("torvexStart.jpg"), serverPicture);
}

// Offline, or online without the content server's addresses: nothing is fetched, nothing waited for.
TEST_F(StartContentTest, offlineOrWithoutAddressesTheBundleCopiesAreShownAtOnce) {
    std::filesystem::path addresses = std::filesystem::path(bundleDirectory()) / "url.txt";
    for (const std::string how : {"offline", "empty address file", "no address file"}) {
        SCOPED_TRACE(how);
        if (how == "empty address file")
            std::ofstream(addresses, std::ios::trunc).flush();
        if (how == "no address file")
            std::filesystem::remove(addresses);
        launch(how == "offline" ? Network::Offline : Network::Online);
        EXPECT_TRUE(screenShown());
        waitForStartPictureTick();

        EXPECT_EQ(requests(), 0);
        EXPECT_EQ(titles(), (std::vector<std::string>{"Bundle atlas", "Bundle help"}));
        EXPECT_EQ(shownPictureSize(), (ui::Size{16, 16}));
        EXPECT_FALSE(readCached("TitlesAndUrls.txt"));
        EXPECT_EQ(StartViewController::contentServerHost().empty(), how != "offline");
        quit();
    }
}

TEST_F(StartContentTest, aPictureArrivingAfterTheFlipIsCachedButNotShown) {
    launchWithThePictureHeld();
    wait(0.3);
    driver().tap({160, 420});
    waitForStartPictureTick();
    releaseServer();
    settle();

    EXPECT_EQ(readCached("torvexStart.jpg"), serverPicture);
    EXPECT_EQ(shownPictureSize(), (ui::Size{16, 16}));
}

TEST_F(StartContentTest, aTitlePressedBeforeTheFifthBlinkKeepsTheBundlePictureShown) {
    serveGoodContent();
    launch(Network::Online);
    settle();
    ASSERT_TRUE(driver().press("Server news"));
    waitForStartPictureTick();

    EXPECT_EQ(start().t, 105);
    EXPECT_EQ(shownPictureSize(), (ui::Size{16, 16}));
}

TEST_F(StartContentTest, copiesInTheDocumentsFolderMoveToTheCacheFolderOnce) {
    writeFile(documentsFile("TitlesAndUrls.txt"), cachedTitles);
    writeFile(documentsFile("torvexStart.jpg"), cachedPicture);
    launch(Network::Offline);

    EXPECT_EQ(cachedFile("TitlesAndUrls.txt"), (home / "Caches/TitlesAndUrls.txt").string());
    EXPECT_EQ(readCached("TitlesAndUrls.txt"), cachedTitles);
    EXPECT_EQ(readCached("torvexStart.jpg"), cachedPicture);
    EXPECT_FALSE(std::filesystem::exists(documentsFile("TitlesAndUrls.txt")));
    EXPECT_FALSE(std::filesystem::exists(documentsFile("torvexStart.jpg")));
    EXPECT_EQ(titles(), (std::vector<std::string>{"Cached atlas"}));
    EXPECT_EQ(shownPictureSize(), (ui::Size{24, 24}));

    quit();
    writeFile(documentsFile("TitlesAndUrls.txt"), "Older||http://127.0.0.1/older");
    launch(Network::Offline);
    EXPECT_EQ(titles(), (std::vector<std::string>{"Cached atlas"})) << "the cache folder's copy wins";
}

} // namespace
