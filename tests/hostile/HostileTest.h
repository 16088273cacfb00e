#pragma once
// The program in process on a spoiled bundle, launched offline, with what it writes to stderr in `log()`.

#include "HostileBundle.h"
#include "tests/support/PictureBytes.h"
#include "tests/support/TestProgram.h"

#include "Classes/IndexViewController.h"
#include "Platform/ImageView.h"
#include "Platform/Label.h"
#include "Platform/TableView.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

class HostileTest : public ::testing::Test {
protected:
    void TearDown() override {
        program_.reset();
        if (capturing_)
            ::testing::internal::GetCapturedStderr();
        capturing_ = false;
    }

    void launch(const HostileBundle& bundle) {
        program_ = std::make_unique<TestProgram>(bundle.path().string(), bundle.home().string());
        ::testing::internal::CaptureStderr();
        capturing_ = true;
        program_->launch();
    }
    // Lets loading run and touches the start screen; the viewer is then on screen and takes touches.
    void openViewer() {
        wait(0.3);
        ASSERT_EQ(state()["startLabel"], StartViewController::readyText) << log();
        driver().tap({160, 420});
        wait(1.0);
        ASSERT_EQ(state()["startScreenShown"], false);
        ASSERT_EQ(state()["interaction"], true);
    }
    // Everything written to stderr since the launch.
    const std::string& log() {
        if (capturing_) {
            log_ += ::testing::internal::GetCapturedStderr();
            ::testing::internal::CaptureStderr();
        }
        return log_;
    }

    void wait(double seconds) { ASSERT_TRUE(driver().advance(seconds)); }
    // Taps the centre of a view: the visible one with this identifier, or this one.
    void tapView(const std::string& identifier) {
        ui::View* view = driver().find(identifier);
        ASSERT_NE(view, nullptr) << identifier;
        tapView(*view);
    }
    void tapView(const ui::View& view) {
        ui::Rect frame = view.convertTo(view.bounds(), nullptr);
        driver().tap({frame.midX(), frame.midY()});
    }
    // Presses a control by its title.
    void press(const std::string& title) {
        ui::Result pressed = driver().press(title);
        ASSERT_TRUE(pressed) << pressed.error();
    }
    // Enters the sub-region titled `header`, or goes back one region, and lets the transition end.
    void enter(const std::string& header) {
        wait(1);
        press(header);
        wait(0.85);
    }
    void goBack() {
        wait(1);
        tapView("backButton");
        wait(0.85);
    }
    // Searches the index for `term`, taps its row and lets the journey to it end.
    void chooseFromIndex(const std::string& term) {
        ASSERT_TRUE(driver().key("/")); // the index opens with the cursor in its search field
        wait(0.5);
        ASSERT_TRUE(driver().type(term));
        for (const auto& [path, cell] :
             viewer().index().navigationController()->myTableView->visibleCells()) {
            if (cell->textLabel().text() == term) {
                tapView(*cell);
                return wait(8);
            }
        }
        FAIL() << "no row " << term;
    }
    // Draws the whole screen once; fails the test when nothing could be drawn.
    void drawFrame() {
        cairo_surface_t* frame = driver().render();
        ASSERT_NE(frame, nullptr);
        ASSERT_EQ(cairo_surface_status(frame), CAIRO_STATUS_SUCCESS);
    }

    ui::Json state() { return driver().state(); }
    ui::Driver& driver() { return program_->driver; }
    StartViewController& start() { return program_->start(); }
    TorvexView& viewer() { return *program_->viewer(); }
    bool showsAPicture() { return !viewer().displayedImage()->image().empty(); }
    std::vector<std::string> visibleFlagTitles() {
        std::vector<std::string> titles;
        for (const auto& flag : viewer().flagBubbles().flags()) {
            if (!flag->isHidden() && flag->superview())
                titles.push_back(flag->currentTitle());
        }
        return titles;
    }
    // The name in the flag bubble, "" before any bubble opened.
    std::string bubbleTitle() {
        return viewer().flagBubbles().labelForFlag() ? viewer().flagBubbles().labelForFlag()->text() : "";
    }

private:
    std::unique_ptr<TestProgram> program_;
    bool capturing_ = false;
    std::string log_;
};

inline std::string pngBytes(int width, int height) {
    return testpictures::solidPng(width, height, 0.5, 0.5, 0.5);
}
inline std::string jpegBytes(int width, int height) {
    return testpictures::solidJpeg(width, height, {128, 128, 128});
}
