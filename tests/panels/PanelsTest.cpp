#include "PanelsTest.h"

#include "Classes/ForInfo.h"
#include "Classes/IndexViewController.h"
#include "Platform/Application.h"
#include "Platform/Bundle.h"
#include "Platform/Button.h"
#include "Platform/Image.h"
#include "Platform/ImageView.h"
#include "Platform/Switch.h"

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

std::string PanelsTest::bundleDirectory;

namespace {

// A plain figure with the region's name on it, so that screenshots show where the viewer is.
void drawFigure(const fs::path& path, const std::string& name) {
    ui::ImageContext context({320, 420});
    cairo_t* cr = context.cairo();
    cairo_set_source_rgb(cr, 0.35, 0.38, 0.42);
    cairo_rectangle(cr, 90, 40, 140, 340);
    cairo_fill(cr);
    ui::drawText(cr, name, {ui::Font::boldSystem(16), ui::Color::white(), ui::TextAlignment::Center, 1},
                 {0, 380, 320, 30});
    fs::create_directories(path.parent_path());
    ui::writePng(context.image().surface(), path.string());
}

// The build's artwork, the panels atlas, and a figure for every picture the atlas names. One folder
// per process, removed when the process ends.
std::string makeBundle() {
    fs::path folder = fs::temp_directory_path() / ("torvex-panels-" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    for (const auto& entry : fs::directory_iterator(TORVEX_BUILD_BUNDLE_DIR)) {
        if (entry.path().filename() != "torvex.xml")
            fs::create_symlink(entry.path(), folder / entry.path().filename());
    }
    fs::path atlas = fs::path(TORVEX_SOURCE_DIR) / "tests/data/panels/torvex.xml";
    fs::create_symlink(atlas, folder / "torvex.xml");
    std::ifstream in(atlas);
    std::stringstream text;
    text << in.rdbuf();
    std::string xml = text.str();
    std::regex view(R"re(src="(([^"/]+)/[^"]+)\.png")re");
    for (std::sregex_iterator it(xml.begin(), xml.end(), view), end; it != end; ++it)
        drawFigure(folder / ((*it)[1].str() + "@2x.png"), (*it)[2].str());
    std::atexit(
        [] { fs::remove_all(fs::temp_directory_path() / ("torvex-panels-" + std::to_string(::getpid()))); });
    return folder.string();
}

TreeNode* regionNamed(TreeNode* region, const std::string& header) {
    if (!region || region->getHeader() == header)
        return region;
    for (const auto& sub : TorvexView::subRegionsOf(region)) {
        if (TreeNode* found = regionNamed(sub.get(), header))
            return found;
    }
    return nullptr;
}

} // namespace

void PanelsTest::SetUpTestSuite() {
    if (bundleDirectory.empty())
        bundleDirectory = makeBundle();
}

void PanelsTest::SetUp() {
    ui::Driver::resetToolkit();
    ui::Bundle::main().setResourcePath(bundleDirectory);
    viewer_ = std::make_unique<TorvexView>();
    ui::Application::shared().window()->addSubview(viewer_->view());
    viewer_->startloadingWithCallBackTarget({});
    driver.advance(1.0);
}

void PanelsTest::TearDown() {
    viewer_.reset();
    ui::Driver::resetToolkit();
}

void PanelsTest::showRegion(const std::string& region) {
    TreeNode* top = viewer().root;
    while (TorvexView::hasParentRegion(top))
        top = TorvexView::ancestor(top, 2);
    TreeNode* found = regionNamed(top, region);
    ASSERT_NE(found, nullptr) << region;
    viewer().root = found;
    viewer().viewTorvex = "Anterior";
    viewer().oldViewTorvex = "Anterior";
    viewer().enterToPart(nullptr);
    driver.advance(1.0);
}

void PanelsTest::press(const std::string& text) {
    auto pressed = driver.press(text);
    ASSERT_TRUE(pressed) << pressed.error();
}

void PanelsTest::pressAlertButton(const std::string& title) {
    auto pressed = driver.alert(title);
    ASSERT_TRUE(pressed) << pressed.error();
}

ui::Button* PanelsTest::flagOf(const std::string& infoId) {
    for (std::size_t i = 0; i < viewer().flags.size() && i < viewer().nodesOfFlags.size(); ++i) {
        if (viewer().nodesOfFlags[i]->attribute("infoid") == infoId)
            return viewer().flags[i].get();
    }
    return nullptr;
}

void PanelsTest::pressFlag(ui::Button& flag) {
    driver.tap(flag.convertTo(flag.bounds().center(), nullptr));
}

std::string PanelsTest::alertTitle() {
    auto alert = driver.state()["alert"];
    return alert.is_null() ? std::string() : alert["title"].get<std::string>();
}

void PanelsTest::openQuizWithAreas(std::initializer_list<int> areas) {
    press("quiz");
    wait(1.0);
    for (int area : areas) {
        ui::Switch& areaSwitch = *viewer().selectQuizs.at(static_cast<std::size_t>(area));
        driver.tap(areaSwitch.convertTo(areaSwitch.bounds().center(), nullptr));
    }
    wait(0.3);
}

ForInfo& PanelsTest::questionPanel() {
    return *viewer().forQuestion;
}

ForInfo& PanelsTest::setUpPanel() {
    return *viewer().viewForQuiz;
}
