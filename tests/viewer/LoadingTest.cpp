#include "Classes/TermOrder.h"
#include "ViewerTest.h"

#include <algorithm>

using Loading = ViewerTest;

// Every control found by its field's name at its place; a bar button's area adds 30 % to its picture.
TEST_F(Loading, placesEveryControlAtItsPlaceOnTheReferenceScreenUnderItsFieldName) {
    auto bar = [](double x, double y) { return ui::Rect(x - 24, y - 16, 48, 32); };
    const std::pair<const char*, ui::Rect> places[] = {
        {"bottomBar", {0, 450, 320, 45}},     {"infoButton", bar(94, 465)},
        {"quizButton", bar(235, 465)},        {"helpButton", bar(290, 465)},
        {"flagButton", bar(167, 465)},        {"typeViewButton", bar(34, 465)},
        {"zoomButton", bar(295, 70)},         {"backButton", bar(43, 15)},
        {"buttonForIndex", bar(290, 15)},     {"labelTitle", {15, 5, 310, 20}},
        {"titleBackButton", {14, 8, 68, 14}}, {"typeViews", {-400, 300, 320, 150}},
        {"firstImage", {0, 30, 320, 420}},    {"secondImage", {0, 30, 320, 420}},
        {"helpView1", {15, 29, 300, 428}},    {"CBCButton", {6, 30, 20, 20}},
    };
    for (const auto& [field, frame] : places) {
        ui::View* view = driver.find(field);
        ASSERT_NE(view, nullptr) << field;
        EXPECT_TRUE(sameRect(view->frame(), frame)) << field;
    }
    for (const char* field : {"scalpel", "Info", "helpView2"})
        EXPECT_NE(driver.find(field), nullptr) << field;
    TorvexView& v = viewer();
    EXPECT_EQ(scalpel().center(), (ui::Point{240, 75}));
    // Made off screen at x 600, then pushed further out by every closing of the index.
    EXPECT_GE(v.index().panel()->frame().x(), 600);
    // Three sub-regions of the top region have a title button in "Anterior": 35 x 3 + 100 high.
    EXPECT_TRUE(sameRect(v.quiz().setUpPanel()->frame(), {400, 245, 300, 205}));
}

TEST_F(Loading, showsTheTopRegionsControlsFadesItsPictureInAndBuildsTheIndexLists) {
    TorvexView& v = viewer();
    for (const auto& shown :
         {v.bar().button(Bar::Quiz), v.bar().button(Bar::Help), v.bar().button(Bar::Views),
          v.bar().button(Bar::Index), v.bar().button(Bar::Info), v.bar().button(Bar::Flags)})
        EXPECT_FALSE(shown->isHidden()) << shown->identifier();
    EXPECT_TRUE(v.bar().button(Bar::Back)->isHidden());
    EXPECT_TRUE(v.bar().backCaption()->isHidden());
    EXPECT_TRUE(v.bar().button(Bar::Magnifier)->isHidden());
    EXPECT_TRUE(scalpel().isHidden());
    // The background switch offers the colour it would change to, and the views button is in front.
    EXPECT_EQ(v.view()->backgroundColor(), ui::Color::black());
    EXPECT_NE(v.bar().button(Bar::BackgroundSwitch)->currentImage().fileName().find("whiteButton"),
              std::string::npos);
    EXPECT_EQ(v.view()->subviews().back().get(), v.bar().button(Bar::Views));
    // It called back once, with the top region in "Anterior", and fades its picture in.
    EXPECT_EQ(loadedCallbacks_, 1);
    EXPECT_EQ(viewer().currentRegion()->getHeader(), "Upper Limb");
    EXPECT_EQ(viewer().bar().title()->text(), "Anterior: Upper Limb");
    EXPECT_EQ(viewer().content().allInfo->lastChild()->children.size(), 24u);
    EXPECT_FALSE(interaction());
    wait(0.1);
    EXPECT_DOUBLE_EQ(driver.find("secondImage")->alpha(), 1);
    EXPECT_EQ(shownPicture(), "upper_limb/anterior.png");
    wait(0.84);
    EXPECT_FALSE(interaction());
    wait(0.02);
    EXPECT_TRUE(interaction());
    const auto& english =
        viewer().index().indexArray(); // the index lists: sorted, no label keys or repeated titles
    const auto& latin = viewer().index().latinArray();
    EXPECT_TRUE(std::is_sorted(english.begin(), english.end(), [](const auto& a, const auto& b) {
        return TermOrder::alphabeticSort(a, b, &a) < 0;
    }));
    EXPECT_EQ(std::count(english.begin(), english.end(), "Hand"), 1);
    EXPECT_TRUE(
        std::none_of(english.begin(), english.end(), [](const auto& t) { return t.starts_with("Label"); }));
    for (const char* term : {"Upper Limb", "Draft Region", "Deltoid", "Cephalic vein", "Extensor digitorum"})
        EXPECT_TRUE(viewer().index().issetInIndexArray(term)) << term;
    EXPECT_FALSE(viewer().index().issetInIndexArray("Humerus")) << "only in an X-ray view";
    // The Latin name of a title already listed and a one-character one stay out.
    EXPECT_EQ(std::count(latin.begin(), latin.end(), "Manus"), 0);
    EXPECT_EQ(std::count(latin.begin(), latin.end(), "-"), 0);
    EXPECT_TRUE(std::is_sorted(latin.begin(), latin.end(), [](const auto& a, const auto& b) {
        return TermOrder::alphabeticSort(a, b, &a) < 0;
    }));
    EXPECT_EQ(latin.front(), "Epicondylus medialis");
}

TEST(AlphabeticSort, comparesWithoutRegardToCaseAndReversesWithoutContext) {
    int context = 0;
    EXPECT_EQ(TermOrder::alphabeticSort("apple", "Apple", &context), 0);
    EXPECT_LT(TermOrder::alphabeticSort("ant", "Bone", &context), 0);
    EXPECT_GT(TermOrder::alphabeticSort("ant", "Bone", nullptr), 0);
    std::vector<std::string> terms{"bone", "Ant", "apple", "Ulna", "Ant"};
    TermOrder::sortAlphabetically(terms);
    EXPECT_EQ(terms, (std::vector<std::string>{"Ant", "Ant", "apple", "bone", "Ulna"}));
}
