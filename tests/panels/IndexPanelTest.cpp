// The index panel in the viewer: sliding in and out, and travelling to a chosen term.
#include "Classes/IndexViewController.h"
#include "tests/support/TestViewer.h"

namespace {

// Taps the list's search field and types `text` into it.
void typeInSearch(ui::Driver& driver, IndexViewController& list, const std::string& text) {
    auto& field = list.mySearchBar->textField();
    driver.tap(field.convertTo(field.bounds().center(), nullptr));
    ASSERT_TRUE(driver.type(text));
}

class IndexPanelShown : public testviewer::LoadedViewerTest {
protected:
    IndexPanelShown() : LoadedViewerTest("panels") {}
    IndexViewController& list() { return *viewer().index().navigationController(); }
    ui::Rect panelFrame() { return viewer().index().panel()->frame(); }

    void search(const std::string& text) { typeInSearch(driver, list(), text); }

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
    press("index", 0.25);
    EXPECT_GT(viewer().index().panel()->presentationCenter().x, 40 + 140);
    wait(0.25);
    EXPECT_EQ(panelFrame(), ui::Rect(40, 35, 280, 384));
    EXPECT_NE(viewer().bar().button(Bar::Index)->image().fileName().find("index pressed"), std::string::npos);

    press("index", 0.5);
    EXPECT_EQ(panelFrame().x(), 325);
    EXPECT_EQ(viewer().bar().button(Bar::Index)->image().fileName().find("pressed"), std::string::npos);
}

TEST_F(IndexPanelShown, TheListIsSetUpOnlyOnTheFirstShowingAndKeepsItsSearch) {
    EXPECT_TRUE(driver.state()["indexRows"].empty()) << "not set up before it is first shown";
    press("index", 0.5);
    search("Ste");
    press("index", 0.5);
    press("index", 0.5);
    int languageRows = 0;
    for (const auto& subview : list().view()->subviews())
        languageRows += subview.get() == list().eng.get() ? 1 : 0;
    EXPECT_EQ(languageRows, 1);
    EXPECT_EQ(driver.state()["indexRows"], nlohmann::ordered_json::array({"Sternum"}));
    EXPECT_EQ(driver.state()["indexList"].size(), list().listContent().size());
}

TEST_F(IndexPanelShown, ChoosingARowTravelsToTheStructureAndEveryKindOfRowEndsWhereItsTermIs) {
    press("index", 0.5);
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
    press("index", 0.5);
    EXPECT_FALSE(list().myTableView->indexPathForSelectedRow());
    // Latin rows travel by the Latin name, region rows enter the region, the top hides the back controls.
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
        press("index", 0.5);
        if (row.latin)
            press("LATIN");
        EXPECT_EQ(viewer().index().lang(), row.latin ? "lat" : "eng");
        search(row.search);
        EXPECT_EQ(driver.state()["indexRows"], nlohmann::ordered_json::array({row.row}));
        press(row.row, 9.5);
        if (row.bubble)
            expectBubbleOf(row.bubble, row.region);
        EXPECT_EQ(viewer().currentRegion()->getHeader(), row.region);
        EXPECT_TRUE(viewer().journey().enterArray().empty());
        EXPECT_EQ(driver.state()["interaction"], true);
        EXPECT_EQ(viewer().bar().button(Bar::Back)->isHidden(), std::string(row.region) == "Body");
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

// The index list on its own: sections, searching and the language buttons.

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

    void search(const std::string& text) { typeInSearch(driver, list_, text); }

    std::vector<std::string> rowsShown() { return list_.rowTitles(); }

    Terms english_, latin_;
    IndexViewController list_;
    ui::Driver driver;
};

TEST_F(IndexList, TermsMakeSectionsByTheirFirstCharacterWithCapitalsFirstKeepingTheListOrderWithin) {
    auto& list = show({"", "Ant", "apple", "bone", "\xC3\x96sophagus", "Ohr", "\xC3\x96l", "Ort"});
    EXPECT_EQ(rowsShown(), (Terms{"Ant", "Ohr", "Ort", "apple", "bone", "\xC3\x96sophagus", "\xC3\x96l"}))
        << "the empty term is never shown; an accented letter is one character";
    EXPECT_EQ(list.myTableView->sectionIndexTitles(), (Terms{"A", "O", "a", "b", "\xC3\x96"}));
    EXPECT_EQ(list.myTableView->numberOfSections(), 5);
}

TEST_F(IndexList, SearchingMatchesTheBeginningOfTermsWhateverTheCaseAndNoMatchLeavesNoLettersOrHeaders) {
    auto& list = show({"A", "Ant", "anterior", "Lateral"});
    search("AN");
    EXPECT_EQ(rowsShown(), (Terms{"Ant", "anterior"}));
    EXPECT_EQ(list.sectionForSectionIndexTitle(*list.myTableView, "a", 1), 1)
        << "a letter jumps to its section among the rows shown";
    driver.key("BackSpace");
    EXPECT_EQ(rowsShown(), (Terms{"A", "Ant", "anterior"}));
    driver.key("BackSpace");
    EXPECT_EQ(rowsShown(), (Terms{"A", "Ant", "Lateral", "anterior"}))
        << "an empty search lets every term pass";
    EXPECT_TRUE(IndexViewController::matchesSearch("\xC3\x89paule", "\xC3\xA9P"));
    ASSERT_TRUE(driver.type("xyz"));
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
    search("b");
    EXPECT_TRUE(bar.showsCancelButton());
    EXPECT_EQ(rowsShown(), (Terms{"bone"}));
    driver.key("Return");
    EXPECT_FALSE(bar.isEditing()) << "the search button closes the keyboard";
    EXPECT_FALSE(bar.showsCancelButton());

    search("x");
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
    search("Nomen 12");
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

TEST_F(IndexList, WithoutLatinTheSearchBarMovesUpAndAChosenRowStaysUntilTheListAppearsAgain) {
    auto& list = show({"Ant", "bone"});
    EXPECT_FALSE(list.eng);
    EXPECT_FALSE(driver.findControl("LATIN"));
    EXPECT_EQ(list.mySearchBar->frame(), ui::Rect(0, 0, 264.5, 44));
    EXPECT_EQ(list.myTableView->frame(), ui::Rect(0, 44, 264.5, 367.5 - 73 + 29));
    ASSERT_TRUE(driver.press("bone")); // a chosen row stays selected until the list appears again
    ASSERT_TRUE(list.myTableView->indexPathForSelectedRow());
    EXPECT_EQ(list.myTableView->indexPathForSelectedRow()->section, 1);
    list.viewWillAppear(false);
    EXPECT_FALSE(list.myTableView->indexPathForSelectedRow());
}

} // namespace
