// The two help pages.
#include "Classes/ForInfo.h"
#include "PanelsTest.h"
#include "Platform/Button.h"

namespace {

class Help : public PanelsTest {
protected:
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
    EXPECT_EQ(parts, 2u + 3 + 1) << "picture, text, three headings, one button picture";
    wait(0.2);
    press("help");
    EXPECT_EQ(shortPage().alpha(), 0) << "the alpha set last counts, not what the screen shows";
    wait(0.75);
    press("help");
    wait(0.8);
    EXPECT_EQ(shortPage().subviews().size(), parts);
    EXPECT_EQ(longPage().subviews().size(), 2u + 5 + 4);
}

TEST_F(Help, OpeningTheIndexHidesTheHelp) {
    press("help");
    wait(0.8);
    press("index");
    EXPECT_EQ(shortPage().alpha(), 0);
    EXPECT_FALSE(helpButtonPressed());
}

} // namespace
