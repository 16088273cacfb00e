// Picture files that are there but do not hold what their name says: empty, cut short, of the other
// kind, or no picture at all. What decodes is shown whatever the file is called, a JPEG cut short as far
// as it goes; what does not is named on stderr with the reason, and the program goes on without it.

#include "HostileTest.h"
#include "Platform/DownloadTask.h"
#include "ProgramRun.h"
#include "tests/support/LoopbackHttpServer.h"

#include <algorithm>
#include <iterator>

using ::testing::HasSubstr;

namespace {

constexpr const char* kViewPicture = "atlas/HumanBody/Anterior.png";
constexpr const char* kStartPicture = "torvexStart.jpg";

std::string firstHalf(const std::string& bytes) {
    return bytes.substr(0, bytes.size() / 2);
}

struct Damage {
    const char* name;
    const char* file;
    std::string (*bytes)();
    bool decodes;
    const char* reason; // what the log line says besides the file name; none for a sound picture
};

const Damage kDamages[] = {
    {"zeroBytePng", kViewPicture, [] { return std::string(); }, false, "no data"},
    {"truncatedPng", kViewPicture, [] { return firstHalf(pngBytes(320, 420)); }, false, "damaged PNG data"},
    {"pngCutAfterItsHeader", kViewPicture, [] { return pngBytes(320, 420).substr(0, 33); }, false,
     "damaged PNG data"},
    {"jpegNamedPng", kViewPicture, [] { return jpegBytes(320, 420); }, true, ""},
    {"textNamedPng", kViewPicture, [] { return std::string("<html>Not found</html>\n"); }, false,
     "neither PNG nor JPEG"},
    {"zeroByteJpeg", kStartPicture, [] { return std::string(); }, false, "no data"},
    {"truncatedJpeg", kStartPicture, [] { return firstHalf(jpegBytes(320, 480)); }, true,
     "JPEG data cut off before its end"},
    {"jpegCutAfterItsMarker", kStartPicture, [] { return jpegBytes(320, 480).substr(0, 3); }, false,
     "damaged JPEG data"},
    {"pngNamedJpeg", kStartPicture, [] { return pngBytes(320, 480); }, true, ""},
};

class DamagedPicture : public HostileTest, public ::testing::WithParamInterface<Damage> {
protected:
    bool damagesTheStartPicture() const { return std::string(GetParam().file) == kStartPicture; }
    bool pictureShown() {
        return damagesTheStartPicture() ? !start().startView->image().empty() : showsAPicture();
    }
};

TEST_P(DamagedPicture, isShownWhenItDecodesAndNamedWithTheReasonWhenNot) {
    const Damage& damage = GetParam();
    HostileBundle bundle;
    bundle.replacePicture(damage.file, damage.bytes());
    launch(bundle);
    wait(0.3);
    if (damagesTheStartPicture()) {
        EXPECT_EQ(pictureShown(), damage.decodes);
        drawFrame();
    }
    openViewer();
    if (!damagesTheStartPicture()) {
        EXPECT_EQ(pictureShown(), damage.decodes);
    }
    EXPECT_EQ(state()["root"], "Human Body");
    drawFrame();

    if (std::string(damage.reason).empty()) {
        EXPECT_THAT(log(), ::testing::Not(HasSubstr(damage.file)));
    } else {
        EXPECT_THAT(log(), HasSubstr(std::string(damage.file) + ": " + damage.reason));
    }
}

INSTANTIATE_TEST_SUITE_P(Files, DamagedPicture, ::testing::ValuesIn(kDamages),
                         [](const auto& info) { return std::string(info.param.name); });

using DamagedArtwork = HostileTest;

TEST_F(DamagedArtwork, flagsOfAnEmptyPictureFileStillOpenTheirBubblesFromTheIndex) {
    HostileBundle bundle;
    bundle.replacePicture("flag.png", "");
    launch(bundle);
    openViewer();

    // A flag without a picture has no size to press; the index still finds the structure.
    chooseFromIndex("Brain");
    EXPECT_THAT(log(), HasSubstr("flag.png: no data"));
    EXPECT_EQ(bubbleTitle(), "Brain");
    ASSERT_NE(viewer().labelForFlag, nullptr);
    EXPECT_EQ(viewer().labelForFlag->alpha(), 1);
    EXPECT_EQ(state()["interaction"], true);
    drawFrame();
}

TEST_F(DamagedArtwork, aStartPictureCutOffOnItsWayInLeavesTheCachedOneInPlace) {
    HostileBundle bundle;
    std::string whole = jpegBytes(320, 480);
    LoopbackHttpServer server([&](const std::string& path) {
        return path == "/torvexStart.jpg" ? LoopbackHttpServer::Reply::answer(200, firstHalf(whole))
                                          : LoopbackHttpServer::Reply::answer(404, "no such page");
    });
    bundle.write("url.txt", server.url("/torvexStart.jpg") + "\n" + server.url("/TitlesAndUrls.txt"));
    std::string cached = jpegBytes(24, 24);
    bundle.write("../home/Documents/torvexStart.jpg", cached);
    launchOnline(bundle);
    ASSERT_TRUE(ui::DownloadTask::waitUntilRunning(0, std::chrono::seconds(10)));
    wait(5 * 0.7); // the start picture is shown at the fifth blink

    EXPECT_EQ(readWholeFile(bundle.home() / "Caches/torvexStart.jpg"), cached) << "moved, and kept";
    EXPECT_EQ(start().startView->image().pixelSize(), (ui::Size{24, 24}));
}

// Every picture of the bundle damaged at once, each in another way, through the program's screens.
TEST(DamagedPicturesInTheProgram, aTourOfEveryScreenEndsNormallyAndNamesTheFiles) {
    HostileBundle bundle;
    std::vector<std::string> names = bundle.pictureNames("");
    ASSERT_GT(names.size(), 50u);
    // Pictures that decode whatever their name would make buttons of their own sizes over the screen.
    std::vector<Damage> failing;
    std::copy_if(std::begin(kDamages), std::end(kDamages), std::back_inserter(failing),
                 [](const Damage& damage) { return !damage.decodes; });
    for (std::size_t i = 0; i < names.size(); ++i)
        bundle.replacePicture(names[i], failing[i % failing.size()].bytes());

    ProgramRun run = runProgram(bundle, "wait 0.3\ntap 160 420\nwait 1.5\nstate\n"
                                        "press Thorax\nwait 1.5\nstate\n"
                                        "tap 160 240\nwait 4\n"
                                        "drag 40 240 280 240\nwait 2\n"
                                        "screenshot " +
                                            (bundle.home() / "end.png").string() + "\n");

    ASSERT_TRUE(run.exitedNormally()) << run.describe();
    auto states = run.states();
    ASSERT_EQ(states.size(), 2u) << run.describe();
    EXPECT_EQ(states[0]["root"], "Human Body");
    EXPECT_EQ(states[1]["root"], "Thorax");
    EXPECT_THAT(run.errors, HasSubstr("damaged PNG data"));
    EXPECT_THAT(run.errors, HasSubstr("neither PNG nor JPEG"));
}

} // namespace
