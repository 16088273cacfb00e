#pragma once
// Every panel test starts from the loaded viewer showing "Body" in "Anterior" (the atlas in
// tests/data/panels, with the build's artwork), on a virtual clock, with nothing pending.

#include "Classes/TorvexView.h"
#include "Platform/Driver.h"
#include "tests/support/TestViewer.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

class IndexViewController;
class ForInfo;

namespace ui {
class Button;
class Switch;
} // namespace ui

class PanelsTest : public testviewer::LoadedViewerTest {
protected:
    PanelsTest() : LoadedViewerTest("panels") {}
    IndexViewController& indexList() { return *viewer_->index().navigationController(); }

    // Puts `region` on screen in "Anterior" as if the user had got there, and lets the cross-fade end.
    void showRegion(const std::string& region);
    // Presses the control titled `text` and fails the test when there is none to press.
    void press(const std::string& text);
    void pressAlertButton(const std::string& title);
    void wait(double seconds) { driver.advance(seconds); }

    // The flag of the current view whose point stands for `infoId`, or null.
    ui::Button* flagOf(const std::string& infoId);
    void pressFlag(ui::Button& flag);
    // The title of the open alert, "" when none is open.
    std::string alertTitle();

    // Opens the quiz and switches on the areas of these names.
    void openQuizWithAreas(std::initializer_list<const char*> areas);
    ui::View& questionPanel() { return *viewer().quiz().questionPanel(); }
    ui::View& setUpPanel() { return *viewer().quiz().setUpPanel(); }
};
