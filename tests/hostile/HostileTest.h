#pragma once
// The program in this process on a spoiled bundle, launched offline as its entry launches it, with its
// own home beside the bundle, on a virtual clock at 0, with everything it writes to stderr collected.
//
//     HostileBundle bundle;
//     bundle.removePicture("flag.png");
//     launch(bundle);
//     openViewer();                       // loading, then a touch on the start screen
//     press("flag");                      // a control by its title, failing the test when it cannot
//     EXPECT_THAT(log(), HasSubstr("flag.png"));
//
// Every wait is on the virtual clock, so nothing here can hang on time; what the program does within
// a step is what the test measures.

#include "HostileBundle.h"
#include "tests/support/PictureBytes.h"
#include "tests/support/TestProgram.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

class HostileTest : public ::testing::Test {
protected:
    void TearDown() override;

    void launch(const HostileBundle& bundle);
    // Lets loading run and touches the start screen; the viewer is then on screen and takes touches.
    void openViewer();
    // Everything written to stderr since the launch.
    const std::string& log();

    void wait(double seconds);
    // Taps the centre of the visible view with this identifier.
    void tapView(const std::string& identifier);
    // Presses a control by its title.
    void press(const std::string& title);
    // Enters the sub-region titled `header` and lets the transition end.
    void enter(const std::string& header);
    // Searches the index for `term`, chooses it and lets the journey to it end.
    void chooseFromIndex(const std::string& term);
    // Goes back one region and lets the transition end.
    void goBack();
    // Draws the whole screen once; fails the test when nothing could be drawn.
    void drawFrame();

    ui::Json state() { return driver().state(); }
    ui::Driver& driver() { return program_->driver; }
    StartViewController& start() { return program_->start(); }
    TorvexView& viewer() { return *program_->viewer(); }
    // Whether the displayed picture has pixels.
    bool showsAPicture();
    std::vector<std::string> visibleFlagTitles();
    // The name in the flag bubble, "" before any bubble opened.
    std::string bubbleTitle();

private:
    std::unique_ptr<TestProgram> program_;
    bool capturing_ = false;
    std::string log_;
};

// A PNG of one colour.
inline std::string pngBytes(int width, int height) {
    return testpictures::solidPng(width, height, 0.5, 0.5, 0.5);
}

// A JPEG of one colour.
inline std::string jpegBytes(int width, int height) {
    return testpictures::solidJpeg(width, height, {128, 128, 128});
}
