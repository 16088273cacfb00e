// Where the start screen's titles and picture come from, and when the cached copies change.

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
    void cacheContent() {
        writeDocument("TitlesAndUrls.txt", cachedTitles);
        writeDocument("torvexStart.jpg", cachedPicture);
    }

    const std::string serverPicture = pictureBytes(30, 40);
    const std::string cachedPicture = pictureBytes(24, 24, 0.9, 0.9, 0.1);
};

TEST_F(StartContentTest, aFirstStartOnlineCachesTheTitlesAtOnceAndThePictureAtTheFifthBlink) {
    serveGoodContent();
    launch(Network::Online);

    EXPECT_EQ(readDocument("TitlesAndUrls.txt"), serverTitles);
    EXPECT_EQ(titles(), (std::vector<std::string>{"Server atlas", "Server news"}));
    EXPECT_EQ(shownPictureSize(), (ui::Size{16, 16})) << "the bundle picture until the fifth blink";

    wait(4 * 0.7);
    EXPECT_FALSE(readDocument("torvexStart.jpg"));
    wait(0.7);
    EXPECT_EQ(readDocument("torvexStart.jpg"), serverPicture);
    EXPECT_EQ(shownPictureSize(), (ui::Size{30, 40}));
}

TEST_F(StartContentTest, aLaterStartOfflineShowsTheCachedCopiesAndAsksNoServer) {
    serveGoodContent();
    launch(Network::Online);
    waitForStartPictureTick();
    quit();
    int asked = requests();

    launch(Network::Offline);
    waitForStartPictureTick();

    EXPECT_FALSE(delegate().internet);
    EXPECT_EQ(titles(), (std::vector<std::string>{"Server atlas", "Server news"}));
    EXPECT_EQ(shownPictureSize(), (ui::Size{30, 40}));
    EXPECT_EQ(requests(), asked);
}

TEST_F(StartContentTest, withoutCacheAndOfflineTheBundleCopiesAreShown) {
    launch(Network::Offline);
    waitForStartPictureTick();

    EXPECT_EQ(titles(), (std::vector<std::string>{"Bundle atlas", "Bundle help"}));
    EXPECT_EQ(shownPictureSize(), (ui::Size{16, 16}));
    EXPECT_EQ(requests(), 0);
    EXPECT_FALSE(readDocument("TitlesAndUrls.txt"));
}

TEST_F(StartContentTest, aMissingPageLeavesBothCachedCopiesUntouched) {
    cacheContent();
    launch(Network::Online);
    waitForStartPictureTick();

    EXPECT_EQ(requests(), 2);
    EXPECT_EQ(readDocument("TitlesAndUrls.txt"), cachedTitles);
    EXPECT_EQ(readDocument("torvexStart.jpg"), cachedPicture);
    EXPECT_EQ(titles(), (std::vector<std::string>{"Cached atlas"}));
    EXPECT_EQ(shownPictureSize(), (ui::Size{24, 24}));
}

TEST_F(StartContentTest, aStalledServerIsGivenUpAndTheCachedTitlesStay) {
    cacheContent();
    serve("/TitlesAndUrls.txt", Reply::stalled());
    launch(Network::Online);

    EXPECT_EQ(readDocument("TitlesAndUrls.txt"), cachedTitles);
    EXPECT_EQ(titles(), (std::vector<std::string>{"Cached atlas"}));
    EXPECT_EQ(start().label->text(), "Loading...");
}

TEST_F(StartContentTest, aStartPictureThatIsNoPictureLeavesTheCachedOneShown) {
    cacheContent();
    serveGoodContent();
    serve("/torvexStart.jpg", Reply::answer(200, "<html>Gateway timeout</html>"));
    launch(Network::Online);
    waitForStartPictureTick();

    EXPECT_EQ(readDocument("torvexStart.jpg"), cachedPicture);
    EXPECT_EQ(shownPictureSize(), (ui::Size{24, 24}));
    EXPECT_EQ(readDocument("TitlesAndUrls.txt"), serverTitles);
}

TEST_F(StartContentTest, cachedCopiesThatDoNotDecodeGiveWayToTheBundleCopies) {
    writeDocument("torvexStart.jpg", "half a picture");
    writeDocument("TitlesAndUrls.txt", std::string("\xff\xfe\x00T\x00i", 6));
    launch(Network::Offline);

    EXPECT_EQ(shownPictureSize(), (ui::Size{16, 16}));
    EXPECT_EQ(titles(), (std::vector<std::string>{"Bundle atlas", "Bundle help"}));
}

TEST_F(StartContentTest, withoutAnAddressFileNothingIsFetchedAndTheBundleCopiesAreShown) {
    std::filesystem::remove(std::filesystem::path(bundleDirectory) / "url.txt");
    launch(Network::Online);
    waitForStartPictureTick();

    EXPECT_EQ(requests(), 0);
    EXPECT_EQ(titles(), (std::vector<std::string>{"Bundle atlas", "Bundle help"}));
    EXPECT_EQ(shownPictureSize(), (ui::Size{16, 16}));
}

TEST_F(StartContentTest, aPictureArrivingAfterTheFlipIsCachedButNotShown) {
    serveGoodContent();
    launch(Network::Online);
    wait(0.3);
    driver.tap({160, 420});
    waitForStartPictureTick();

    EXPECT_EQ(readDocument("torvexStart.jpg"), serverPicture);
    EXPECT_EQ(shownPictureSize(), (ui::Size{16, 16}));
}

TEST_F(StartContentTest, pressingATitleStopsTheBlinkCountBeforeThePictureIsFetched) {
    serveGoodContent();
    launch(Network::Online);
    ASSERT_TRUE(driver.press("Server news"));
    waitForStartPictureTick();

    EXPECT_EQ(start().t, 105);
    EXPECT_FALSE(readDocument("torvexStart.jpg"));
    EXPECT_EQ(requests(), 1);
}

} // namespace
