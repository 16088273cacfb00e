// The index panel in the viewer: sliding in and out, and travelling to a chosen term.
#include "Classes/ForInfo.h"
#include "Classes/IndexViewController.h"
#include "Platform/Button.h"
#include "Platform/Label.h"
#include "tests/support/TestViewer.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

class IndexPanelShown : public testviewer::LoadedViewerTest {
protected:
    IndexPanelShown() : LoadedViewerTest("panels") {}
    IndexViewController& list() { return *viewer().index().navigationController(); }
    ui::Rect panelFrame() { return viewer().index().panel()->frame(); }

    void search(const std::string& text) {
        auto& field = list().mySearchBar->textField();
        driver.tap(field.convertTo(field.bounds().center(), nullptr));
        ASSERT_TRUE(driver.type(text));
    }

    // The structure's bubble is open in the region that holds it.
    void expectBubbleOf(const std::string& title, const std::string& region) {
        EXPECT_EQ(viewer().currentRegion()->getHeader(), region);
        ASSERT_TRUE(bubbles().labelForFlag());
        EXPECT_EQ(bubbles().labelForFlag()->text(), title);
        EXPECT_EQ(bubbles().labelForFlag()->alpha(), 1);
        EXPECT_GE(bubbles().viewHint(), 0);
        EXPECT_TRUE(viewer().journey().enterArray().empty());
    }
};

TEST_F(IndexPanelShown, TheIndexButtonSlidesThePanelInFromTheRightAndOutAgain) {
    EXPECT_GT(panelFrame().x(), 320) << "made off screen";
    press("index");
    wait(0.25);
    EXPECT_GT(viewer().index().panel()->presentationCenter().x, 40 + 140);
    wait(0.25);
    EXPECT_EQ(panelFrame(), ui::Rect(40, 35, 280, 384));
    EXPECT_NE(viewer().bar().button(Bar::Index)->image().fileName().find("index pressed"), std::string::npos);

    press("index");
    wait(0.5);
    EXPECT_EQ(panelFrame().x(), 325);
    EXPECT_EQ(viewer().bar().button(Bar::Index)->image().fileName().find("pressed"), std::string::npos);
}

TEST_F(IndexPanelShown, TheListIsSetUpOnlyOnTheFirstShowingAndKeepsItsSearch) {
    EXPECT_TRUE(driver.state()["indexRows"].empty()) << "not set up before it is first shown";
    press("index");
    wait(0.5);
    search("Ste");
    press("index");
    wait(0.5);
    press("index");
    wait(0.5);
    int languageRows = 0;
    for (const auto& subview : list().view()->subviews())
        languageRows += subview.get() == list().eng.get() ? 1 : 0;
    EXPECT_EQ(languageRows, 1);
    EXPECT_EQ(driver.state()["indexRows"], nlohmann::ordered_json::array({"Sternum"}));
    EXPECT_EQ(driver.state()["indexList"].size(), list().listContent().size());
}

TEST_F(IndexPanelShown, ChoosingARowTravelsToTheStructureAndTheNextShowingStartsWithNoRowChosen) {
    press("index");
    wait(0.5);
    search("Ste");
    press("Sternum");
    ASSERT_TRUE(list().myTableView->indexPathForSelectedRow());
    auto queued = driver.state()["enterArray"];
    EXPECT_EQ(queued, nlohmann::ordered_json::parse(
                          R"(["point:Label Sternum", "view:Anterior", "part:Chest", "part:Trunk"])"))
        << "the row's term, resolved through its information entry";
    EXPECT_FALSE(list().mySearchBar->isEditing());
    wait(0.5);
    EXPECT_EQ(panelFrame().x(), 325) << "the journey closes the index";
    wait(8);
    expectBubbleOf("Sternum", "Chest");
    press("index");
    wait(0.5);
    EXPECT_FALSE(list().myTableView->indexPathForSelectedRow());
}

// A Latin row travels by its Latin name, a region's row enters the region, and a structure of the top
// region leaves the back controls hidden.
TEST_F(IndexPanelShown, EveryKindOfRowEndsWhereItsTermIs) {
    struct Row {
        const char* from;
        const char* search;
        const char* row;
        const char* region;
        const char* bubble; // none for a region
        bool latin;
    };
    const Row rows[] = {{"Body", "clav", "Clavicula", "Chest", "Clavicle", true},
                        {"Body", "Han", "Hand", "Hand", nullptr, false},
                        {"Chest", "Nav", "Navel", "Body", "Navel", false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.row);
        TearDown();
        SetUp();
        showRegion(row.from);
        press("index");
        wait(0.5);
        if (row.latin)
            press("LATIN");
        EXPECT_EQ(viewer().index().lang(), row.latin ? "lat" : "eng");
        search(row.search);
        EXPECT_EQ(driver.state()["indexRows"], nlohmann::ordered_json::array({row.row}));
        press(row.row);
        wait(9.5);
        if (row.bubble)
            expectBubbleOf(row.bubble, row.region);
        EXPECT_EQ(viewer().currentRegion()->getHeader(), row.region);
        EXPECT_TRUE(viewer().journey().enterArray().empty());
        EXPECT_EQ(driver.state()["interaction"], true);
        EXPECT_EQ(viewer().bar().button(Bar::Back)->isHidden(), std::string(row.region) == "Body");
    }
}

// WCAG's relative luminance of an 8-bit pixel value, one channel at a time.
double luminance(std::uint32_t pixel) {
    auto linear = [](std::uint32_t channel) {
        double c = static_cast<double>(channel & 0xff) / 255;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(pixel >> 16) + 0.7152 * linear(pixel >> 8) + 0.0722 * linear(pixel);
}

// Whatever the background behind the panel, the side index's first and last letters (on the section
// headers) keep a contrast of 4.5:1 with what they stand on.
TEST_F(IndexPanelShown, TheSideIndexLettersReadOnEveryBackground) {
    press("index");
    wait(0.5);
    ui::View* strip = nullptr;
    for (const auto& subview : list().myTableView->subviews())
        strip = subview->className() == "TableIndex" ? subview.get() : strip;
    ASSERT_NE(strip, nullptr);
    std::size_t letters = list().myTableView->sectionIndexTitles().size();
    ASSERT_GT(letters, 2u);
    for (bool black : {true, false}) {
        if (viewer().bar().blackBackground() != black)
            viewer().bar().changeBackgroundColor(nullptr);
        cairo_surface_t* screen = driver.render();
        double scale = cairo_image_surface_get_width(screen) / 320.0;
        ui::Float slot = std::min(16.0, (strip->bounds().height() - 8) / static_cast<double>(letters));
        ui::Float top = (strip->bounds().height() - slot * static_cast<double>(letters)) / 2;
        for (std::size_t letter : {std::size_t{0}, letters - 1}) {
            ui::Rect box = strip->convertTo(
                ui::Rect(0, top + slot * static_cast<double>(letter), strip->bounds().width(), slot),
                nullptr);
            auto* data = cairo_image_surface_get_data(screen);
            int stride = cairo_image_surface_get_stride(screen);
            auto at = [&](int x, int y) {
                return luminance(reinterpret_cast<const std::uint32_t*>(data + y * stride)[x]);
            };
            // What the letter stands on: the strip's edge beside it; the letter: the pixel most unlike that.
            double ground =
                at(static_cast<int>(box.minX() * scale) + 1, static_cast<int>(box.midY() * scale));
            double letterMost = ground;
            for (int y = static_cast<int>(box.minY() * scale); y < static_cast<int>(box.maxY() * scale);
                 ++y) {
                for (int x = static_cast<int>(box.minX() * scale); x < static_cast<int>(box.maxX() * scale);
                     ++x) {
                    if (std::abs(at(x, y) - ground) > std::abs(letterMost - ground))
                        letterMost = at(x, y);
                }
            }
            double contrast = (std::max(ground, letterMost) + 0.05) / (std::min(ground, letterMost) + 0.05);
            EXPECT_GE(contrast, 4.5) << "letter " << letter << (black ? " on black" : " on white");
        }
    }
}

TEST_F(IndexPanelShown, TheIndexButtonDoesNothingWhileAJourneyIsQueued) {
    viewer().goToPart("Nail");
    ASSERT_FALSE(viewer().journey().enterArray().empty());
    viewer().index().displayIndex();
    wait(0.5);
    EXPECT_GT(panelFrame().x(), 320);
}

} // namespace
