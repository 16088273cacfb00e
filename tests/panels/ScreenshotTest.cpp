// Pictures of the panels, written to a folder for a person to look at, with a few checks of what shows.
#include "Classes/ForInfo.h"
#include "Classes/IndexViewController.h"
#include "PanelsTest.h"
#include "Platform/Button.h"
#include "Platform/Image.h"
#include "Platform/Switch.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace {

class Screenshot : public PanelsTest {
protected:
    void SetUp() override {
        PanelsTest::SetUp();
        folder_ = fs::temp_directory_path() / "torvex-panels-screens";
        fs::create_directories(folder_);
    }

    void shoot(const std::string& name) {
        auto path = (folder_ / (name + ".png")).string();
        auto written = driver.screenshot(path);
        ASSERT_TRUE(written) << written.error();
        std::cout << "screenshot: " << path << "\n";
    }

    fs::path folder_;
};

TEST_F(Screenshot, TheRegionInformationPanel) {
    showRegion("Trunk");
    press("info");
    wait(0.7);
    shoot("info-panel");
}

TEST_F(Screenshot, TheShortHelpPage) {
    press("help");
    wait(0.8);
    shoot("help-short");
}

TEST_F(Screenshot, TheLongHelpPage) {
    showRegion("Hand");
    press("help");
    wait(0.8);
    shoot("help-long");
}

TEST_F(Screenshot, TheIndexWithASearch) {
    press("index");
    wait(0.5);
    auto& field = indexList().mySearchBar->textField();
    driver.tap(field.convertTo(field.bounds().center(), nullptr));
    ASSERT_TRUE(driver.type("s"));
    shoot("index-search");
    press("LATIN");
    driver.key("Escape");
    shoot("index-latin");
}

TEST_F(Screenshot, TheQuizSetUpAndAQuestion) {
    openQuizWithAreas({0, 1});
    wait(0.5);
    shoot("quiz-setup");
    press("Start");
    wait(0.7);
    shoot("quiz-question");
}

} // namespace
