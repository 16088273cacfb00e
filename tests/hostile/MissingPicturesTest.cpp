// Pictures the data file or the program names that are not in the bundle: the program goes on without
// them, shows everything else, and names each missing file on stderr.

#include "HostileTest.h"
#include "ProgramRun.h"

using ::testing::HasSubstr;

namespace {

const char* const kArtwork[] = {"Buttons",          "Arrow Hints",    "arrows",          "circle.png",
                                "flag.png",         "scalpel.png",    "labelBubble.png", "bubble_left.png",
                                "bubble_right.png", "infoButton.png", "bb.png"};

void removeArtwork(const HostileBundle& bundle) {
    for (const char* name : kArtwork) {
        bundle.remove(name);
        bundle.removePicture(name);
    }
}

using MissingPictures = HostileTest;

TEST_F(MissingPictures, aViewWithoutItsPictureShowsNoneButItsRegionStillWorks) {
    HostileBundle bundle;
    bundle.removePicture("atlas/HumanBody/Anterior.png");
    launch(bundle);
    openViewer();

    EXPECT_EQ(state()["root"], "Human Body");
    EXPECT_FALSE(showsAPicture());
    EXPECT_THAT(log(), HasSubstr("atlas/HumanBody/Anterior.png"));
    tapView("flagButton");
    EXPECT_FALSE(visibleFlagTitles().empty());
    drawFrame();

    enter("Thorax");
    EXPECT_EQ(state()["root"], "Thorax");
    EXPECT_EQ(shownPicture(), "atlas/Thorax/Anterior@2x.png");
    goBack();
    EXPECT_EQ(state()["root"], "Human Body");
    EXPECT_EQ(state()["interaction"], true);
}

TEST_F(MissingPictures, aRegionWithoutAnyPicturesCanBeEnteredAndLeft) {
    HostileBundle bundle;
    bundle.remove("atlas/Thorax");
    launch(bundle);
    openViewer();

    enter("Thorax");
    EXPECT_EQ(state()["root"], "Thorax");
    EXPECT_EQ(state()["interaction"], true);
    EXPECT_FALSE(showsAPicture());
    EXPECT_THAT(log(), HasSubstr("atlas/Thorax/Anterior.png"));
    tapView("typeViewButton"); // the views chooser's thumbnails come from the missing pictures too
    wait(1);
    drawFrame();
    goBack();
    EXPECT_EQ(state()["root"], "Human Body");
    EXPECT_TRUE(showsAPicture());
}

TEST_F(MissingPictures, withoutButtonsRingsFlagsAndArrowsTheAtlasStillLoadsAndRegionsOpen) {
    HostileBundle bundle;
    removeArtwork(bundle);
    launch(bundle);
    openViewer();

    EXPECT_EQ(state()["root"], "Human Body");
    EXPECT_TRUE(showsAPicture());
    for (const char* name :
         {"Buttons/info.png", "Buttons/whiteButton.png", "circle.png", "scalpel.png", "Arrow Hints/1.png"})
        EXPECT_THAT(log(), HasSubstr(name));
    drawFrame();
    // The title buttons take touches over the regions' places, with or without rings.
    enter("Thorax");
    EXPECT_EQ(state()["root"], "Thorax");
    EXPECT_TRUE(showsAPicture());
    drawFrame();
}

TEST_F(MissingPictures, aBubbleWithoutItsPicturesStillNamesTheStructure) {
    HostileBundle bundle;
    for (const char* name : {"labelBubble.png", "bubble_left.png", "bubble_right.png", "infoButton.png"})
        bundle.removePicture(name);
    launch(bundle);
    openViewer();

    tapView("flagButton");
    ASSERT_FALSE(visibleFlagTitles().empty());
    press(visibleFlagTitles().front());
    wait(0.5);
    EXPECT_EQ(bubbleTitle(), "Brain");
    ASSERT_NE(viewer().labelForFlag, nullptr);
    EXPECT_EQ(viewer().labelForFlag->alpha(), 1);
    EXPECT_THAT(log(), HasSubstr("labelBubble.png"));
    drawFrame();
}

TEST_F(MissingPictures, withoutAStartPictureTheStartScreenShowsItsTitlesAndFlipsToTheViewer) {
    HostileBundle bundle;
    bundle.remove("torvexStart.jpg");
    launch(bundle);
    wait(0.3);

    EXPECT_TRUE(start().startView->image().empty());
    EXPECT_THAT(log(), HasSubstr("torvexStart.jpg"));
    EXPECT_NE(driver.findControl("About the Torvex atlas"), nullptr);
    drawFrame();
    openViewer();
    EXPECT_EQ(state()["root"], "Human Body");
}

// The program itself, every picture above gone at once, toured through its screens.
TEST(MissingPicturesInTheProgram, aTourOfEveryScreenEndsNormallyAndNamesEachMissingFile) {
    HostileBundle bundle;
    removeArtwork(bundle);
    bundle.remove("torvexStart.jpg");
    bundle.removePicture("atlas/HumanBody/Anterior.png");
    bundle.remove("atlas/Thorax");

    ProgramRun run = runProgram(bundle, "wait 0.3\n"
                                        "tap 160 420\nwait 1.5\n"
                                        "press Thorax\nwait 1.5\nstate\n"
                                        "tap 160 240\nwait 4\n"
                                        "tap 43 15\nwait 1.5\nstate\n"
                                        "screenshot " +
                                            (bundle.home() / "end.png").string() + "\n");

    ASSERT_TRUE(run.exitedNormally()) << run.describe();
    auto states = run.states();
    ASSERT_EQ(states.size(), 2u) << run.describe();
    EXPECT_EQ(states[0]["root"], "Thorax");
    for (const char* name : {"torvexStart.jpg", "atlas/HumanBody/Anterior.png", "atlas/Thorax/Anterior.png",
                             "Buttons/flag.png", "circle.png"})
        EXPECT_THAT(run.errors, HasSubstr(name));
}

} // namespace
