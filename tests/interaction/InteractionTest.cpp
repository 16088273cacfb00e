#include "InteractionTest.h"

#include "Platform/Application.h"
#include "Platform/Bundle.h"
#include "Platform/Button.h"
#include "Platform/Font.h"
#include "Platform/Image.h"
#include "Platform/ImageView.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

std::string InteractionTest::bundleDirectory;

namespace {

// A plain grey figure with the view's name on it, so that screenshots show which view is on screen.
void drawFigure(const fs::path& path, const std::string& name) {
    ui::ImageContext context({320, 420});
    cairo_t* cr = context.cairo();
    cairo_set_source_rgb(cr, 0.42, 0.45, 0.5);
    cairo_arc(cr, 160, 70, 38, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_move_to(cr, 100, 120);
    cairo_line_to(cr, 220, 120);
    cairo_line_to(cr, 250, 400);
    cairo_line_to(cr, 70, 400);
    cairo_close_path(cr);
    cairo_fill(cr);
    ui::drawText(cr, name, {ui::Font::boldSystem(16), ui::Color::white(), ui::TextAlignment::Center, 1},
                 {0, 380, 320, 30});
    fs::create_directories(path.parent_path());
    ui::Image picture = context.image();
    ui::writePng(picture.surface(), path.string());
}

// The artwork of the build's bundle, the test atlas, and a figure for every picture the atlas names.
std::string makeBundle() {
    fs::path folder = fs::temp_directory_path() / ("torvex-interaction-" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    for (const auto& entry : fs::directory_iterator(TORVEX_BUILD_BUNDLE_DIR)) {
        if (entry.path().filename() != "torvex.xml")
            fs::create_symlink(entry.path(), folder / entry.path().filename());
    }
    fs::path atlas = fs::path(TORVEX_SOURCE_DIR) / "tests/data/interaction/torvex.xml";
    fs::create_symlink(atlas, folder / "torvex.xml");

    std::ifstream in(atlas);
    std::stringstream text;
    text << in.rdbuf();
    std::string xml = text.str();
    std::regex view(R"re(header="([^"]+)" src="([^"]+)\.png")re");
    for (std::sregex_iterator it(xml.begin(), xml.end(), view), end; it != end; ++it)
        drawFigure(folder / ((*it)[2].str() + "@2x.png"), (*it)[1].str());
    return folder.string();
}

TreeNode* regionNamed(TreeNode* region, const std::string& header) {
    if (!region)
        return nullptr;
    if (region->getHeader() == header)
        return region;
    for (const auto& sub : TorvexView::subRegionsOf(region)) {
        if (TreeNode* found = regionNamed(sub.get(), header))
            return found;
    }
    return nullptr;
}

} // namespace

void InteractionTest::SetUpTestSuite() {
    if (bundleDirectory.empty())
        bundleDirectory = makeBundle();
}

void InteractionTest::TearDownTestSuite() {
    if (!bundleDirectory.empty())
        fs::remove_all(bundleDirectory);
    bundleDirectory.clear();
}

void InteractionTest::SetUp() {
    ui::Driver::resetToolkit();
    ui::Bundle::main().setResourcePath(bundleDirectory);
    viewer_ = std::make_unique<TorvexView>();
    ui::Application::shared().window()->addSubview(viewer_->view());
    viewer_->startloadingWithCallBackTarget({});
    topRegion_ = viewer_->root;
    driver.advance(1.0);
}

void InteractionTest::TearDown() {
    viewer_.reset();
    ui::Driver::resetToolkit();
}

void InteractionTest::showRegion(const std::string& region, const std::string& view) {
    TreeNode* found = regionNamed(topRegion_, region);
    ASSERT_NE(found, nullptr) << region;
    viewer().root = found;
    viewer().viewTorvex = view;
    viewer().oldViewTorvex = view;
    viewer().enterToPart(nullptr);
    driver.advance(1.0);
}

void InteractionTest::changeViewTo(const std::string& view) {
    viewer().oldViewTorvex = viewer().viewTorvex;
    viewer().viewTorvex = view;
    viewer().enterToPart(nullptr);
}

void InteractionTest::swipe(ui::Point from, ui::Point to) {
    auto& app = ui::Application::shared();
    app.beginTouches({{0, from}});
    app.moveTouches({{0, to}});
    app.endTouches({{0, to}});
}

void InteractionTest::tap(ui::Point point) {
    driver.tap(point);
}

void InteractionTest::showFlags() {
    viewer().displayFlags();
    driver.advance(0.5);
}

ui::Button& InteractionTest::flag(int index) {
    return *viewer().flags.at(static_cast<std::size_t>(index));
}

ui::Point InteractionTest::flagOnScreen(int index) {
    ui::Button& button = flag(index);
    return button.convertTo(button.bounds().center(), nullptr);
}

void InteractionTest::pressFlag(int index) {
    tap(flagOnScreen(index));
}

ui::ImageView& InteractionTest::picture() {
    return *viewer().displayedImage();
}

int InteractionTest::alphaAt(const ui::Image& image, ui::Point point) {
    cairo_surface_t* surface = image.surface();
    cairo_surface_flush(surface);
    int x = static_cast<int>(point.x * image.scale()), y = static_cast<int>(point.y * image.scale());
    const unsigned char* row =
        cairo_image_surface_get_data(surface) + y * cairo_image_surface_get_stride(surface);
    std::uint32_t pixel = reinterpret_cast<const std::uint32_t*>(row)[x];
    return static_cast<int>(pixel >> 24);
}
