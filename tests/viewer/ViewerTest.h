#pragma once
// Every viewer test starts from a freshly loaded viewer on the test atlas (tests/data/bundle), on a
// virtual clock at 0, right after loading: the top region "Upper Limb" in "Anterior", its picture
// still to fade in.
//
// The bundle is made once per run in a temporary folder: the atlas, a small flat picture for every
// view, and artwork of known sizes so that frames can be checked exactly: bar buttons 30 x 20, the
// ring "circle" 40 x 40, "flag" 20 x 30, "infoButton" 20 x 20, "scalpel" 40 x 40, the background
// switch pictures 20 x 20.

#include "Classes/TorvexView.h"
#include "Platform/Driver.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace ui {
class Button;
class ImageView;
} // namespace ui

class ViewerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    void SetUp() override;
    void TearDown() override;

    TorvexView& viewer() { return *viewer_; }
    // Moves the clock on by `seconds`.
    void wait(double seconds);
    bool interaction() { return viewer().view()->isUserInteractionEnabled(); }
    // The state record as the automation reports it.
    nlohmann::ordered_json state() { return driver.state(); }
    // Presses a control by its title, failing the test when it cannot.
    void press(const std::string& title);
    // Enters the sub-region named `header` through its title button and lets the transition end.
    void enter(const std::string& header);
    // Goes back one region through the back control and lets the transition end.
    void goBack();
    // The file name of the picture shown, relative to the bundle.
    std::string shownPicture();
    std::vector<std::string> titlesOf(const std::vector<TorvexView::ButtonPtr>& buttons);
    // The region named `header` anywhere below the top region (or the top region itself).
    TreeNode* region(const std::string& header);

    static std::string bundleDirectory;
    ui::Driver driver;
    std::unique_ptr<TorvexView> viewer_;
    int callbacks_ = 0;
};

::testing::AssertionResult sameRect(const ui::Rect& actual, const ui::Rect& expected);
