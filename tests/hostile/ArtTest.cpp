// Pictures missing, empty, cut short or of the other kind: what decodes is shown,
// what does not is named on stderr, and the program goes on without it.

#include "HostileTest.h"

using ::testing::HasSubstr;

namespace {

TEST_F(HostileTest, withoutArtworkStartPictureAndViewPicturesEveryScreenStillWorks) {
    HostileBundle bundle;
    for (const char* name :
         {"Buttons", "Arrow Hints", "arrows", "circle.png", "flag.png", "scalpel.png", "labelBubble.png",
          "bubble_left.png", "bubble_right.png", "infoButton.png", "bb.png"}) {
        bundle.remove(name);
        bundle.removePicture(name);
    }
    bundle.remove("torvexStart.jpg");
    bundle.removePicture("atlas/HumanBody/Anterior.png");
    bundle.remove("atlas/Thorax");
    launch(bundle);
    wait(0.3);
    EXPECT_TRUE(start().startView->image().empty());
    EXPECT_NE(driver().findControl("About the Torvex atlas"), nullptr);
    drawFrame();
    openViewer();

    EXPECT_EQ(state()["root"], "Human Body");
    EXPECT_FALSE(showsAPicture());
    for (const char* name : {"torvexStart.jpg", "atlas/HumanBody/Anterior.png", "Buttons/info.png",
                             "Buttons/whiteButton.png", "circle.png", "scalpel.png", "Arrow Hints/1.png"})
        EXPECT_THAT(log(), HasSubstr(name));
    drawFrame();
    // The title buttons take touches over the regions' places, with or without rings and pictures.
    enter("Thorax");
    EXPECT_EQ(state()["root"], "Thorax");
    EXPECT_EQ(state()["interaction"], true);
    EXPECT_THAT(log(), HasSubstr("atlas/Thorax/Anterior.png"));
    drawFrame();
}

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
    {"jpegNamedPng", kViewPicture, [] { return jpegBytes(320, 420); }, true, ""},
    {"textNamedPng", kViewPicture, [] { return std::string("<html>Not found</html>\n"); }, false,
     "neither PNG nor JPEG"},
    {"truncatedJpeg", kStartPicture, [] { return firstHalf(jpegBytes(320, 480)); }, true,
     "JPEG data cut off before its end"},
    {"jpegCutAfterItsMarker", kStartPicture, [] { return jpegBytes(320, 480).substr(0, 3); }, false,
     "damaged JPEG data"},
};

class DamagedPicture : public HostileTest, public ::testing::WithParamInterface<Damage> {};

TEST_P(DamagedPicture, isShownWhenItDecodesAndNamedWithTheReasonWhenNot) {
    const Damage& damage = GetParam();
    bool startPicture = std::string(damage.file) == kStartPicture;
    HostileBundle bundle;
    bundle.replacePicture(damage.file, damage.bytes());
    launch(bundle);
    openViewer();
    EXPECT_EQ(startPicture ? !start().startView->image().empty() : showsAPicture(), damage.decodes);
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

TEST_F(HostileTest, flagsOfAnEmptyPictureFileStillOpenTheirBubblesWithoutBubblePicturesFromTheIndex) {
    HostileBundle bundle;
    bundle.replacePicture("flag.png", "");
    for (const char* name : {"labelBubble.png", "bubble_left.png", "bubble_right.png", "infoButton.png"})
        bundle.removePicture(name);
    launch(bundle);
    openViewer();
    chooseFromIndex("Brain");
    EXPECT_THAT(log(), HasSubstr("flag.png: no data"));
    EXPECT_THAT(log(), HasSubstr("labelBubble.png"));
    EXPECT_EQ(bubbleTitle(), "Brain");
    ASSERT_NE(viewer().flagBubbles().labelForFlag(), nullptr);
    EXPECT_EQ(viewer().flagBubbles().labelForFlag()->alpha(), 1);
    EXPECT_EQ(state()["interaction"], true);
    drawFrame();
}

} // namespace
