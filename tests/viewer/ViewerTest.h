#pragma once
// Viewer tests start right after loading "Upper Limb" in "Anterior", its picture still to fade in, on flat
// artwork of known sizes (bar buttons 30 x 20, rings and scalpel 40 x 40, flag 20 x 30, info 20 x 20).

#include "tests/support/TestViewer.h"

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

class ViewerTest : public testviewer::LoadedViewerTest {
protected:
    ViewerTest() : LoadedViewerTest("viewer", testviewer::Artwork::Flat, 0) {}

    bool interaction() { return viewer().view()->isUserInteractionEnabled(); }
    nlohmann::ordered_json state() { return driver.state(); }
    ui::Button& scalpel() { return dynamic_cast<ui::Button&>(*driver.find("scalpel")); }
    // Enters the sub-region named `header` through its title button and lets the transition end.
    void enter(const std::string& header) {
        wait(1);
        press(header, 0.85);
    }
    // Goes back one region through the back control and lets the transition end.
    void goBack() {
        wait(1);
        tap(viewer().bar().button(Bar::Back)->center());
        wait(0.85);
    }
    // The file name of the picture shown, relative to the bundle.
    std::string shownPicture() {
        std::string file = viewer().displayedImage()->image().fileName();
        return std::filesystem::path(file).lexically_relative(bundle_).string();
    }
    static std::vector<std::string> titlesOf(const std::vector<TorvexView::ButtonPtr>& buttons) {
        std::vector<std::string> titles;
        for (const auto& button : buttons)
            titles.push_back(button->currentTitle());
        return titles;
    }
    TreeNode* region(const std::string& header) {
        return testviewer::regionInTree(viewer().currentRegion(), header);
    }
};

inline ::testing::AssertionResult sameRect(const ui::Rect& actual, const ui::Rect& expected) {
    auto near = [](double a, double b) { return std::abs(a - b) < 0.01; };
    if (near(actual.x(), expected.x()) && near(actual.y(), expected.y()) &&
        near(actual.width(), expected.width()) && near(actual.height(), expected.height()))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "(" << actual.x() << ", " << actual.y() << ", " << actual.width() << ", " << actual.height()
           << ") is not (" << expected.x() << ", " << expected.y() << ", " << expected.width() << ", "
           << expected.height() << ")";
}
