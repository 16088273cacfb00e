// The two help pages.
#include "Classes/HelpPanel.h"
#include "tests/support/TestViewer.h"

namespace {

class Help : public testviewer::LoadedViewerTest {
protected:
    Help() : LoadedViewerTest("panels") {}
    ForInfo& shortPage() { return dynamic_cast<ForInfo&>(*driver.find("helpView1")); }
    ForInfo& longPage() { return dynamic_cast<ForInfo&>(*driver.find("helpView2")); }
    bool helpButtonPressed() {
        return viewer().bar().button(Bar::Help)->image().fileName().find("help pressed") != std::string::npos;
    }
};

TEST_F(Help, AtTheTopTheShortPageFadesInBuiltOnceAndASecondPressEvenWhileFadingInOrTheIndexHidesIt) {
    press("help");
    std::size_t parts = shortPage().subviews().size();
    EXPECT_TRUE(helpButtonPressed());
    wait(0.8);
    EXPECT_EQ(shortPage().alpha(), 1);
    EXPECT_EQ(longPage().alpha(), 0);
    EXPECT_EQ(shortPage().frame(), ui::Rect(10, 190, 310, 260));
    EXPECT_EQ(viewer().view()->subviews().back().get(), &shortPage()) << "in front of everything";
    EXPECT_EQ(shortPage().textViewForInfo()->text(), HelpPanel::textForHelp1);

    press("help", 0.75);
    EXPECT_EQ(shortPage().alpha(), 0);
    EXPECT_FALSE(helpButtonPressed());
    press("help", 0.2);
    press("help");
    EXPECT_EQ(shortPage().alpha(), 0) << "the alpha set last counts, not what the screen shows";
    wait(0.75);
    press("help", 0.8);
    EXPECT_EQ(shortPage().subviews().size(), parts);
    press("index");
    EXPECT_EQ(shortPage().alpha(), 0) << "opening the index hides the help";
    EXPECT_FALSE(helpButtonPressed());
}

// Six steps up from the region decide: one level down is near the top, two levels down is deep.
TEST_F(Help, DeeperDownTheLongPageIsShown) {
    for (const char* region : {"Limbs", "Arm", "Hand"}) {
        showRegion(region);
        press("help", 0.8);
        bool deep = std::string(region) != "Limbs";
        EXPECT_EQ(longPage().alpha(), deep ? 1 : 0) << region;
        EXPECT_EQ(shortPage().alpha(), deep ? 0 : 1) << region;
        press("help", 0.75);
    }
    EXPECT_EQ(longPage().frame(), ui::Rect(10, 30, 310, 420));
    EXPECT_EQ(longPage().textViewForInfo()->text(), HelpPanel::textForHelp2);
}

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

} // namespace
