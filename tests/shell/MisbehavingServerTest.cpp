// Start content from servers that misbehave, and caches that were tampered with: the start screen
// shows on time, keeps drawing, never lets bad content into its cache and never opens an address that
// the user did not choose.

#include "ShellTest.h"

#include <chrono>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

using Reply = LoopbackHttpServer::Reply;

const std::string goodTitles = "Good atlas||http://127.0.0.1/good";

long peakResidentMegabytes() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

class MisbehavingServerTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        writeCached("TitlesAndUrls.txt", goodTitles);
        writeCached("torvexStart.jpg", goodPicture);
    }
    // Launches online against the titles answer given, lets the answer in and checks that the good
    // cached copies are shown and kept byte for byte.
    void expectTitlesRefused(Reply answer) {
        serve("/TitlesAndUrls.txt", std::move(answer));
        launch(Network::Online);
        settle();
        EXPECT_NE(start().label, nullptr) << "the screen shows as soon as the answer is in";
        EXPECT_EQ(titles(), std::vector<std::string>{"Good atlas"});
        EXPECT_EQ(readCached("TitlesAndUrls.txt"), goodTitles);
        EXPECT_EQ(readCached("torvexStart.jpg"), goodPicture);
        quit();
        launch(Network::Offline);
        EXPECT_EQ(titles(), std::vector<std::string>{"Good atlas"}) << "and on the next start";
    }

    const std::string goodPicture = testpictures::solidPng(24, 24, 0.9, 0.9, 0.1);
};

// One line of 30 MB, a captive portal's page answered with status 200, a list in Latin-1, a redirect to
// a local file.
TEST_F(MisbehavingServerTest, titlesListsThatAreNoneAreRefusedWithoutTakingMemory) {
    long before = peakResidentMegabytes();
    expectTitlesRefused(Reply::answer(200, std::string(30 * 1024 * 1024, 'A')));
    // The test's own copies of the line take 60 MB; keeping or laying it out took gigabytes.
    EXPECT_LT(peakResidentMegabytes() - before, 200);
    for (const Reply& reply :
         {Reply::answer(200, "<!doctype html>\n<html><head><title>Sign in</title></head>\n"
                             "<body><a href=\"http://portal.invalid/login\">Sign in</a></body></html>\n"),
          Reply::answer(200, "Caf\xe9 anatomy||http://127.0.0.1/cafe\nNews||http://127.0.0.1/n"),
          Reply::redirect("file:///etc/passwd")}) {
        quit();
        expectTitlesRefused(reply);
    }
}

TEST_F(MisbehavingServerTest,
       aPictureAtTheSizeLimitIsShownAndOneClaimingMillionsOfPixelsRefusedFromItsHeader) {
    serve("/TitlesAndUrls.txt", Reply::answer(200, goodTitles));
    std::string largest = testpictures::blackPng(1280, 1920);
    serve("/torvexStart.jpg", Reply::answer(200, largest));
    launch(Network::Online);
    settle();
    waitForStartPictureTick();
    EXPECT_EQ(readCached("torvexStart.jpg"), largest);
    EXPECT_EQ(shownPictureSize(), (ui::Size{1280, 1920}));
    quit();

    std::string bomb = testpictures::blackPng(8192, 4096);
    ASSERT_LT(bomb.size(), 256u * 1024);
    serve("/torvexStart.jpg", Reply::answer(200, bomb));
    long before = peakResidentMegabytes();
    launch(Network::Online);
    settle();
    waitForStartPictureTick();
    EXPECT_EQ(readCached("torvexStart.jpg"), largest);
    EXPECT_EQ(shownPictureSize(), (ui::Size{1280, 1920}));
    EXPECT_LT(peakResidentMegabytes() - before, 100) << "decoded, the picture takes 134 MB";
}

// The titles come in slowly once the server lets them go, long after the screen has shown; the picture
// never comes.
TEST_F(MisbehavingServerTest, aServerThatHangsDelaysTheScreenByAtMostOneAndAHalfSecondsNeverTheClose) {
    const std::string fresh = "Fresh atlas||http://127.0.0.1/fresh";
    serve("/TitlesAndUrls.txt", Reply::held(Reply::slow(Reply::answer(200, fresh), 4)));
    serve("/torvexStart.jpg", Reply::stalled());
    auto started = std::chrono::steady_clock::now();
    launch(Network::Online);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(500))
        << "the launch does not wait on the network";

    wait(1.49);
    EXPECT_EQ(start().label, nullptr);
    EXPECT_NE(driver().render(), nullptr) << "the window keeps drawing";
    wait(0.01);
    ASSERT_NE(start().label, nullptr);
    EXPECT_EQ(titles(), std::vector<std::string>{"Good atlas"}) << "the wait is over: the cached titles";
    wait(0.2);
    EXPECT_EQ(start().label->text(), "touch to continue");
    waitForStartPictureTick();
    EXPECT_EQ(start().t, 5) << "the blinks go on, 0.7 s apart from the screen's showing";
    EXPECT_EQ(shownPictureSize(), (ui::Size{24, 24}));

    releaseServer();
    settle(1);
    EXPECT_EQ(titles(), std::vector<std::string>{"Good atlas"}) << "a shown screen keeps its titles";
    EXPECT_EQ(readCached("TitlesAndUrls.txt"), fresh);
    auto closing = std::chrono::steady_clock::now();
    quit();
    EXPECT_LT(std::chrono::steady_clock::now() - closing, std::chrono::milliseconds(1000))
        << "closing does not wait on the network";
    launch(Network::Offline);
    EXPECT_EQ(titles(), std::vector<std::string>{"Fresh atlas"}) << "a late list shows on the next start";
}

// A FIFO and a link to a device, which a plain read would wait on for ever or read without end, and
// copies that do not decode: half a picture, a list in UTF-16.
TEST_F(MisbehavingServerTest, aCachedCopyThatIsNoPlainFileOrDoesNotDecodeGivesWayToTheBundleCopy) {
    for (bool special : {true, false}) {
        SCOPED_TRACE(special ? "a FIFO and a device" : "copies that do not decode");
        std::filesystem::remove(cachedFile("TitlesAndUrls.txt"));
        std::filesystem::remove(cachedFile("torvexStart.jpg"));
        if (special) {
            ASSERT_EQ(::mkfifo(cachedFile("TitlesAndUrls.txt").c_str(), 0600), 0);
            std::filesystem::create_symlink("/dev/zero", cachedFile("torvexStart.jpg"));
        } else {
            writeCached("torvexStart.jpg", "half a picture");
            writeCached("TitlesAndUrls.txt", std::string("\xff\xfe\x00T\x00i", 6));
        }
        launch(Network::Offline);
        EXPECT_EQ(titles(), (std::vector<std::string>{"Bundle atlas", "Bundle help"}));
        EXPECT_EQ(shownPictureSize(), (ui::Size{16, 16}));
        quit();
    }
}

TEST_F(MisbehavingServerTest, theShippedBundleProbesNoServerAndItsTitlesOpenNothing) {
    ui::Bundle::main().setResourcePath(TORVEX_BUILD_BUNDLE_DIR);
    std::filesystem::remove(cachedFile("TitlesAndUrls.txt"));
    launch(Network::Online);
    EXPECT_EQ(requests(), 0);
    EXPECT_EQ(StartViewController::contentServerHost(), "");
    ASSERT_FALSE(titles().empty());
    for (const std::string& title : titles())
        ASSERT_TRUE(driver().press(title)) << title;
    EXPECT_TRUE(ui::Application::shared().openedURLs().empty());
}

} // namespace
