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

// Measured on the text as laid out: the letters on either side of each picture's place stay clear.
TEST_F(Help, NoPictureCoversALetter) {
    struct Place {
        const char* picture;
        const char* before;
        const char* after;
        const char* shownWord; // the word the picture shows and hides, if any
    };
    showRegion("Hand");
    press("help");
    ForInfo& page = longPage();
    const ui::TextView& text = *page.textViewForInfo();
    const Place places[] = {{"Buttons/views", "Press", "for a number", "Views"},
                            {"Buttons/info", "Press", "to access", "Info"},
                            {"flag", "Press", "on the menu", nullptr},
                            {"infoButton", "\u201D", "icon", nullptr}};
    for (const auto& place : places) {
        SCOPED_TRACE(place.picture);
        const std::string& words = text.text();
        std::size_t next = words.find(place.after);
        std::size_t previous = words.rfind(place.before, next);
        ASSERT_NE(next, std::string::npos);
        ASSERT_NE(previous, std::string::npos);
        std::size_t lastLetter = previous + std::string(place.before).size() - 1;
        ui::Rect left = text.convertTo(text.rectOfTextRange(lastLetter, lastLetter + 1), &page);
        ui::Rect right = text.convertTo(text.rectOfTextRange(next, next + 1), &page);
        const ui::ImageView* found = nullptr;
        for (const auto& subview : page.subviews()) {
            auto* picture = dynamic_cast<ui::ImageView*>(subview.get());
            if (picture && picture->image().fileName().find(place.picture) != std::string::npos)
                found = picture;
        }
        ASSERT_NE(found, nullptr);
        ui::Rect frame = found->frame();
        EXPECT_GE(frame.minX(), left.maxX() - 0.5);
        EXPECT_LE(frame.maxX(), right.minX() + 0.5);
        EXPECT_NEAR(frame.midY(), right.midY(), 1) << "on the line of its words";
        if (place.shownWord) {
            std::size_t at = words.find(place.shownWord, previous);
            ui::Rect word =
                text.convertTo(text.rectOfTextRange(at, at + std::string(place.shownWord).size()), &page);
            EXPECT_LE(frame.minX(), word.minX());
            EXPECT_GE(frame.maxX(), word.maxX());
        }
    }
}

TEST_F(Help, OpeningTheIndexHidesTheHelp) {
    press("help");
    wait(0.8);
    press("index");
    EXPECT_EQ(shortPage().alpha(), 0);
    EXPECT_FALSE(helpButtonPressed());
}

} // namespace
