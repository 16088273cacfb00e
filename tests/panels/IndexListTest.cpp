// The index list on its own: sections, searching and the language buttons.
#include "Classes/IndexViewController.h"
#include "Platform/Application.h"
#include "Platform/Bundle.h"
#include "Platform/Driver.h"

#include <gtest/gtest.h>

namespace {

using Terms = std::vector<std::string>;

class IndexList : public ::testing::Test {
protected:
    void SetUp() override {
        ui::Driver::resetToolkit();
        ui::Bundle::main().setResourcePath(TORVEX_BUILD_BUNDLE_DIR);
    }
    void TearDown() override { ui::Driver::resetToolkit(); }

    // The list on screen with these terms, set up as the index panel does on its first showing.
    IndexViewController& show(Terms english, Terms latin = {}) {
        english_ = std::move(english);
        latin_ = std::move(latin);
        list_.setDataEng(english_, latin_);
        ui::Application::shared().window()->addSubview(list_.view());
        list_.awakeFromNib();
        return list_;
    }

    void typeSearch(const std::string& text) {
        ui::Driver driver;
        auto& field = list_.mySearchBar->textField();
        driver.tap(field.convertTo(field.bounds().center(), nullptr));
        ASSERT_TRUE(driver.type(text));
    }

    std::vector<std::string> rowsShown() { return list_.rowTitles(); }

    Terms english_, latin_;
    IndexViewController list_;
    ui::Driver driver;
};

TEST_F(IndexList, TermsMakeSectionsByTheirFirstCharacterWithCapitalsFirst) {
    auto& list = show({"", "Ant", "apple", "bone"});
    EXPECT_EQ(rowsShown(), (Terms{"Ant", "apple", "bone"})) << "the empty term is never shown";
    EXPECT_EQ(list.myTableView->sectionIndexTitles(), (Terms{"A", "a", "b"}));
    EXPECT_EQ(list.myTableView->numberOfSections(), 3);
}

TEST_F(IndexList, ASectionKeepsItsTermsInListOrderAndAnAccentedLetterIsOneCharacter) {
    auto& list = show({"\xC3\x96sophagus", "Ohr", "\xC3\x96l", "Ort"});
    EXPECT_EQ(list.myTableView->sectionIndexTitles(), (Terms{"O", "\xC3\x96"}));
    EXPECT_EQ(rowsShown(), (Terms{"Ohr", "Ort", "\xC3\x96sophagus", "\xC3\x96l"}));
}

TEST_F(IndexList, SearchingMatchesTheBeginningOfTermsWhateverTheCase) {
    auto& list = show({"A", "Ant", "anterior", "Lateral"});
    typeSearch("AN");
    EXPECT_EQ(rowsShown(), (Terms{"Ant", "anterior"}));
    EXPECT_EQ(list.sectionForSectionIndexTitle(*list.myTableView, "a", 1), 1)
        << "a letter jumps to its section among the rows shown";
    driver.key("BackSpace");
    EXPECT_EQ(rowsShown(), (Terms{"A", "Ant", "anterior"}));
    driver.key("BackSpace");
    EXPECT_EQ(rowsShown(), (Terms{"A", "Ant", "Lateral", "anterior"}))
        << "an empty search lets every term pass";
    EXPECT_TRUE(IndexViewController::matchesSearch("\xC3\x89paule", "\xC3\xA9P"));
}

TEST_F(IndexList, ASearchThatMatchesNothingShowsNoRowsNoLettersAndNoHeaders) {
    auto& list = show({"Ant", "apple", "bone"});
    typeSearch("xyz");
    EXPECT_TRUE(rowsShown().empty());
    auto& table = *list.myTableView;
    EXPECT_TRUE(table.sectionIndexTitles().empty());
    EXPECT_EQ(table.sectionIndexFrame().width(), 0);
    EXPECT_EQ(list.viewForHeaderInSection(table, 0), nullptr) << "no stale letter of the list before";
}

TEST_F(IndexList, EditingShowsCancelWhichBringsBackTheListFromBeforeAndKeepsTheText) {
    auto& list = show({"Ant", "apple", "bone"});
    auto& bar = *list.mySearchBar;
    EXPECT_FALSE(bar.showsCancelButton());
    typeSearch("b");
    EXPECT_TRUE(bar.showsCancelButton());
    EXPECT_EQ(rowsShown(), (Terms{"bone"}));
    driver.key("Return");
    EXPECT_FALSE(bar.isEditing()) << "the search button closes the keyboard";
    EXPECT_FALSE(bar.showsCancelButton());

    typeSearch("x");
    EXPECT_TRUE(rowsShown().empty());
    ASSERT_TRUE(driver.press("Cancel"));
    EXPECT_EQ(list.filteredListContent, (Terms{"bone"})) << "the list as it was when editing began";
    EXPECT_EQ(bar.text(), "bx");
    EXPECT_FALSE(bar.isEditing());
    EXPECT_FALSE(bar.showsCancelButton());
}

TEST_F(IndexList, LatinPressedTwiceKeepsTheListAndEnglishComesBackWhereItWasLeft) {
    Terms english, latin;
    for (int i = 0; i < 60; ++i) {
        english.push_back("Term " + std::to_string(100 + i));
        latin.push_back("Nomen " + std::to_string(100 + i));
    }
    auto& list = show(english, latin);
    ASSERT_TRUE(list.eng && list.lat);
    list.myTableView->setContentOffset({0, 300});

    ASSERT_TRUE(driver.press("LATIN"));
    EXPECT_EQ(list.listContent(), latin);
    EXPECT_EQ(list.myTableView->contentOffset().y, 0) << "Latin starts at its own saved place";
    EXPECT_EQ(list.lat->currentBackgroundImage().fileName(),
              list.eng->backgroundImage(ui::ControlState::Highlighted).fileName());
    typeSearch("Nomen 12");
    list.myTableView->setContentOffset({0, 40});
    ASSERT_TRUE(driver.press("LATIN"));
    EXPECT_EQ(rowsShown().size(), 10u) << "the second press does not reload the list";
    EXPECT_EQ(list.myTableView->contentOffset().y, 40);

    ASSERT_TRUE(driver.press("ENG"));
    EXPECT_EQ(list.listContent(), english);
    EXPECT_EQ(rowsShown().size(), 60u) << "switching drops the search";
    EXPECT_EQ(list.mySearchBar->text(), "Nomen 12") << "but not its text";
    EXPECT_EQ(list.myTableView->contentOffset().y, 300);
    ASSERT_TRUE(driver.press("LATIN"));
    EXPECT_EQ(list.myTableView->contentOffset().y, 40);
}

TEST_F(IndexList, WithoutLatinTermsThereAreNoLanguageButtonsAndTheSearchBarMovesUp) {
    auto& list = show({"Ant", "bone"});
    EXPECT_FALSE(list.eng);
    EXPECT_FALSE(driver.findControl("LATIN"));
    EXPECT_EQ(list.mySearchBar->frame(), ui::Rect(0, 0, 264.5, 44));
    EXPECT_EQ(list.myTableView->frame(), ui::Rect(0, 44, 264.5, 367.5 - 73 + 29));
}

TEST_F(IndexList, AChosenRowStaysSelectedUntilTheListAppearsAgain) {
    auto& list = show({"Ant", "bone"});
    ASSERT_TRUE(driver.press("bone"));
    ASSERT_TRUE(list.myTableView->indexPathForSelectedRow());
    EXPECT_EQ(list.myTableView->indexPathForSelectedRow()->section, 1);
    list.viewWillAppear(false);
    EXPECT_FALSE(list.myTableView->indexPathForSelectedRow());
}

} // namespace
