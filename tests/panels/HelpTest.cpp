// The two help pages.
#include "Classes/ForInfo.h"
#include "PanelsTest.h"
#include "Platform/Button.h"
#include "Platform/ImageView.h"

namespace {

// A stretch of one line of a help page, in the page's coordinates.
struct Stretch {
    ui::Float left, right, top, bottom;
};

class Help : public PanelsTest {
protected:
    // The text between `before` and `before` + `run` on text line `line` (0 = the first) of the page:
    // the text view sets 13-point lines 16 points apart inside its margin.
    Stretch stretchOf(ForInfo& page, int line, const std::string& before, const std::string& run) {
        const auto& text = *page.textViewForInfo();
        ui::Point origin = text.convertTo(ui::Point{ui::TextView::margin, ui::TextView::margin}, &page);
        ui::Font font = text.font();
        ui::Float left = origin.x + ui::textWidth(before, font);
        ui::Float top = origin.y + 16 * line;
        return {left, left + ui::textWidth(run, font), top, top + 16};
    }
    ui::Point pictureCenter(ForInfo& page, const std::string& name) {
        for (const auto& subview : page.subviews()) {
            auto* picture = dynamic_cast<ui::ImageView*>(subview.get());
            if (picture && picture->image().fileName().find(name) != std::string::npos)
                return picture->center();
        }
        ADD_FAILURE() << "no picture " << name;
        return {};
    }
    void expectInside(ui::Point center, const Stretch& stretch) {
        EXPECT_GE(center.x, stretch.left);
        EXPECT_LE(center.x, stretch.right);
        EXPECT_GE(center.y, stretch.top);
        EXPECT_LE(center.y, stretch.bottom);
    }

    ForInfo& shortPage() { return *viewer().helpView1; }
    ForInfo& longPage() { return *viewer().helpView2; }
    bool helpButtonPressed() {
        return viewer().helpButton->image().fileName().find("help pressed") != std::string::npos;
    }
};

TEST_F(Help, AtTheTopTheShortPageFadesInAndASecondPressHidesIt) {
    press("help");
    EXPECT_TRUE(helpButtonPressed());
    wait(0.8);
    EXPECT_EQ(shortPage().alpha(), 1);
    EXPECT_EQ(longPage().alpha(), 0);
    EXPECT_EQ(shortPage().frame(), ui::Rect(10, 190, 310, 260));
    EXPECT_EQ(viewer().view()->subviews().back().get(), &shortPage()) << "in front of everything";
    EXPECT_EQ(shortPage().textViewForInfo()->text(), TorvexView::textForHelp1);

    press("help");
    wait(0.75);
    EXPECT_EQ(shortPage().alpha(), 0);
    EXPECT_FALSE(helpButtonPressed());
}

TEST_F(Help, ThreeLevelsDownTheLongPageIsShown) {
    showRegion("Hand");
    press("help");
    wait(0.8);
    EXPECT_EQ(longPage().alpha(), 1);
    EXPECT_EQ(shortPage().alpha(), 0);
    EXPECT_EQ(longPage().frame(), ui::Rect(10, 30, 310, 420));
    EXPECT_EQ(longPage().textViewForInfo()->text(), TorvexView::textForHelp2);
}

TEST_F(Help, SixStepsUpFromTheRegionDecideWhichPageShows) {
    showRegion("Limbs");
    press("help");
    wait(0.8);
    EXPECT_EQ(shortPage().alpha(), 1) << "one level down";
    press("help");
    wait(0.75);
    showRegion("Arm");
    press("help");
    wait(0.8);
    EXPECT_EQ(longPage().alpha(), 1) << "two levels down the steps reach the data file's top element";
}

TEST_F(Help, ThePagesAreBuiltOnceAndASecondPressWhileFadingInHidesThem) {
    press("help");
    std::size_t parts = shortPage().subviews().size();
    wait(0.2);
    press("help");
    EXPECT_EQ(shortPage().alpha(), 0) << "the alpha set last counts, not what the screen shows";
    wait(0.75);
    press("help");
    wait(0.8);
    EXPECT_EQ(shortPage().subviews().size(), parts);
}

TEST_F(Help, ThePicturesSitInTheGapsOnTheirLines) {
    press("help");
    expectInside(pictureCenter(shortPage(), "Buttons/views"),
                 stretchOf(shortPage(), 12, "Press", "            "));
    press("help");
    showRegion("Hand");
    press("help");
    expectInside(pictureCenter(longPage(), "flag"), stretchOf(longPage(), 20, "Press", "     "));
    expectInside(pictureCenter(longPage(), "infoButton"),
                 stretchOf(longPage(), 22, "access labels.   If there is an  \u201Ci\u201D", "     "));
}

// The spaces after "Views" and "Info" pad each word to the width of the button picture that stands on
// it; a picture as wide as the phone's hid its word.
TEST_F(Help, TheViewsAndInfoPicturesStandOnTheWordsTheyShow) {
    showRegion("Hand");
    press("help");
    expectInside(pictureCenter(longPage(), "Buttons/views"), stretchOf(longPage(), 12, "Press ", "Views  "));
    expectInside(pictureCenter(longPage(), "Buttons/info"), stretchOf(longPage(), 16, "Press ", "Info   "));
}

TEST_F(Help, OpeningTheIndexHidesTheHelp) {
    press("help");
    wait(0.8);
    press("index");
    EXPECT_EQ(shortPage().alpha(), 0);
    EXPECT_FALSE(helpButtonPressed());
}

} // namespace
