#include "ViewerTest.h"

#include "Platform/Button.h"
#include "Platform/ImageView.h"

#include "tests/support/TestBundle.h"
#include "tests/support/TestViewer.h"

#include <cmath>
#include <filesystem>

std::string ViewerTest::bundleDirectory;

::testing::AssertionResult sameRect(const ui::Rect& actual, const ui::Rect& expected) {
    auto near = [](double a, double b) { return std::abs(a - b) < 0.01; };
    if (near(actual.x(), expected.x()) && near(actual.y(), expected.y()) &&
        near(actual.width(), expected.width()) && near(actual.height(), expected.height()))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "(" << actual.x() << ", " << actual.y() << ", " << actual.width() << ", " << actual.height()
           << ") is not (" << expected.x() << ", " << expected.y() << ", " << expected.width() << ", "
           << expected.height() << ")";
}

void ViewerTest::SetUpTestSuite() {
    if (bundleDirectory.empty())
        bundleDirectory = testbundle::withFlatArtwork("viewer");
}

void ViewerTest::SetUp() {
    viewer_ = testviewer::startViewer(bundleDirectory, [this](TorvexView*) { ++callbacks_; });
}

void ViewerTest::TearDown() {
    viewer_.reset();
    ui::Driver::resetToolkit();
}

void ViewerTest::wait(double seconds) {
    ASSERT_TRUE(driver.advance(seconds));
}

void ViewerTest::press(const std::string& title) {
    ui::Result pressed = driver.press(title);
    ASSERT_TRUE(pressed) << pressed.error();
}

void ViewerTest::enter(const std::string& header) {
    wait(1);
    press(header);
    wait(0.85);
}

void ViewerTest::goBack() {
    wait(1);
    driver.tap(viewer().backButton->center());
    wait(0.85);
}

std::string ViewerTest::shownPicture() {
    std::string file = viewer().displayedImage()->image().fileName();
    return std::filesystem::path(file).lexically_relative(bundleDirectory).string();
}

std::vector<std::string> ViewerTest::titlesOf(const std::vector<TorvexView::ButtonPtr>& buttons) {
    std::vector<std::string> titles;
    for (const auto& button : buttons)
        titles.push_back(button->currentTitle());
    return titles;
}

TreeNode* ViewerTest::region(const std::string& header) {
    return testviewer::regionInTree(viewer().root, header);
}
