#pragma once
// The program in this process on a spoiled bundle, launched as its entry launches it (offline, with its
// own home beside the bundle), on a virtual clock at 0, with everything it writes to stderr collected.
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

#include "Classes/StartViewController.h"
#include "Classes/TorvexAppDelegate.h"
#include "Classes/TorvexView.h"
#include "Platform/Button.h"
#include "Platform/Driver.h"
#include "Platform/ImageView.h"
#include "Platform/Label.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

class HostileTest : public ::testing::Test {
protected:
    void TearDown() override;

    void launch(const HostileBundle& bundle);
    // The same with the network watchers on the loopback address, which always has a route.
    void launchOnline(const HostileBundle& bundle);
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

    ui::Json state() { return driver.state(); }
    StartViewController& start() { return *delegate_->stViewContr; }
    TorvexView& viewer() { return *start().torvexViewController; }
    // The picture the viewer shows, relative to the bundle; "" when it shows none.
    std::string shownPicture();
    // Whether the displayed picture has pixels.
    bool showsAPicture();
    std::vector<std::string> visibleFlagTitles();
    // The name in the flag bubble, "" before any bubble opened.
    std::string bubbleTitle();

    ui::Driver driver;

private:
    void launchWith(const HostileBundle& bundle, const TorvexAppDelegate::ReachabilityTargets& targets);
    void collectLog();

    std::unique_ptr<TorvexAppDelegate> delegate_;
    bool capturing_ = false;
    std::string log_;
};
