#include "ViewerTest.h"

#include "Platform/Application.h"
#include "Platform/Bundle.h"
#include "Platform/Button.h"
#include "Platform/ImageView.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

std::string ViewerTest::bundleDirectory;

namespace {

void writePicture(const fs::path& path, int width, int height, double shade) {
    fs::create_directories(path.parent_path());
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgb(cr, shade, 0.5 * shade, 1 - shade);
    cairo_paint(cr);
    cairo_destroy(cr);
    ui::writePng(surface, path.string());
    cairo_surface_destroy(surface);
}

std::string makeBundle() {
    fs::path folder = fs::temp_directory_path() / ("torvex-viewer-" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::path atlas = fs::path(TORVEX_SOURCE_DIR) / "tests/data/bundle/torvex.xml";
    fs::create_directories(folder);
    fs::copy_file(atlas, folder / "torvex.xml");

    std::ifstream in(atlas);
    std::stringstream text;
    text << in.rdbuf();
    std::string xml = text.str();
    std::regex source(R"re(src="([^"]+\.png)")re");
    double shade = 0.1;
    for (std::sregex_iterator it(xml.begin(), xml.end(), source), end; it != end; ++it) {
        writePicture(folder / (*it)[1].str(), 32, 42, shade);
        shade = std::fmod(shade + 0.17, 1.0);
    }
    for (const char* name : {"info", "quiz", "help", "flag", "views", "mag", "back_button", "index"}) {
        writePicture(folder / "Buttons" / (std::string(name) + ".png"), 30, 20, 0.3);
        writePicture(folder / "Buttons" / (std::string(name) + " pressed.png"), 30, 20, 0.7);
    }
    writePicture(folder / "Buttons/whiteButton.png", 20, 20, 1);
    writePicture(folder / "Buttons/blackButton.png", 20, 20, 0);
    writePicture(folder / "circle.png", 40, 40, 0.9);
    writePicture(folder / "flag.png", 20, 30, 0.8);
    writePicture(folder / "infoButton.png", 20, 20, 0.6);
    writePicture(folder / "scalpel.png", 40, 40, 0.4);
    writePicture(folder / "bb.png", 40, 46, 0.2);
    for (int n = 1; n <= 4; ++n)
        writePicture(folder / "Arrow Hints" / (std::to_string(n) + ".png"), 10, 10, 0.5);
    for (int n = 1; n <= 15; ++n)
        writePicture(folder / "arrows" / (std::to_string(n) + ".png"), 10, 10, 0.5);
    return folder.string();
}

TreeNode* findRegion(TreeNode* region, const std::string& header) {
    if (!region || region->getHeader() == header)
        return region;
    for (const auto& sub : TorvexView::subRegionsOf(region)) {
        if (TreeNode* found = findRegion(sub.get(), header))
            return found;
    }
    return nullptr;
}

// Removes the bundle when the test program ends.
struct BundleFolder {
    std::string path;
    ~BundleFolder() {
        if (!path.empty())
            fs::remove_all(path);
    }
};

} // namespace

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
    static BundleFolder folder{makeBundle()};
    bundleDirectory = folder.path;
}

void ViewerTest::SetUp() {
    ui::Driver::resetToolkit();
    ui::Bundle::main().setResourcePath(bundleDirectory);
    viewer_ = std::make_unique<TorvexView>();
    ui::Application::shared().window()->addSubview(viewer_->view());
    viewer_->startloadingWithCallBackTarget([this](TorvexView*) { ++callbacks_; });
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
    return fs::path(file).lexically_relative(bundleDirectory).string();
}

std::vector<std::string> ViewerTest::titlesOf(const std::vector<TorvexView::ButtonPtr>& buttons) {
    std::vector<std::string> titles;
    for (const auto& button : buttons)
        titles.push_back(button->currentTitle());
    return titles;
}

TreeNode* ViewerTest::region(const std::string& header) {
    TreeNode* top = viewer().root;
    while (TorvexView::hasParentRegion(top))
        top = TorvexView::ancestor(top, 2);
    return findRegion(top, header);
}
