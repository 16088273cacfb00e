// The toolkit's switch, table, text field, search bar and edit distance, on their own.
#include "ToolkitTest.h"

#include "Platform/EditDistance.h"
#include "Platform/SearchBar.h"
#include "Platform/Switch.h"
#include "Platform/TableView.h"
#include "Platform/TextView.h"

#include <tuple>

namespace {

using namespace ui;

using Controls = ToolkitTest;

// ---- Edit distance (ranks the close terms offered for a name not found)

TEST(EditDistance, CountsTheFewestInsertionsDeletionsAndChanges) {
    for (auto [a, b, distance] : {std::tuple{"", "arm", 3},
                                  {"kitten", "sitting", 3},
                                  {"bicpes", "biceps", 2},
                                  {"flaw", "lawn", 2},
                                  {"ulna", "ulna", 0}})
        EXPECT_EQ(editDistance(a, b), static_cast<std::size_t>(distance)) << a << " / " << b;
}

// ---- Switch (its knob's slide shows in the picture tour)

TEST_F(Controls, ASwitchHasItsOwnSizeAndATapFlipsItAndTellsItsTargets) {
    auto toggle = make<Switch>(Rect(10, 50, 40, 20));
    window().addSubview(toggle);
    EXPECT_EQ(toggle->frame(), Rect(10, 50, 94, 27));
    EXPECT_FALSE(toggle->isOn());
    int changes = 0;
    toggle->addTarget(ControlEvent::ValueChanged, [&](Control*) { ++changes; });
    driver.tap({57, 63});
    EXPECT_TRUE(toggle->isOn());
    EXPECT_EQ(changes, 1);
    toggle->setOn(false);
    EXPECT_EQ(changes, 1) << "a change made by code tells nobody";
}

// ---- Table (the letter index's jump shows in the picture tour)

class Rows : public TableViewDataSource, public TableViewDelegate {
public:
    std::vector<int> sizes{20, 20, 20};
    std::vector<IndexPath> chosen;
    int cellsMade = 0;

    int numberOfSectionsInTableView(TableView&) override { return static_cast<int>(sizes.size()); }
    int numberOfRowsInSection(TableView&, int section) override {
        return sizes.at(static_cast<std::size_t>(section));
    }
    TableViewCellPtr cellForRowAtIndexPath(TableView& table, IndexPath path) override {
        auto cell = table.dequeueReusableCellWithIdentifier("row");
        if (!cell) {
            cell = make<TableViewCell>("row");
            ++cellsMade;
        }
        cell->textLabel().setText("row " + std::to_string(path.section) + "." + std::to_string(path.row));
        return cell;
    }
    std::vector<std::string> sectionIndexTitlesForTableView(TableView&) override { return {"A", "B", "C"}; }
    ViewPtr viewForHeaderInSection(TableView&, int section) override {
        auto header = make<View>();
        header->setTag(100 + section);
        return header;
    }
    void didSelectRowAtIndexPath(TableView&, IndexPath path) override { chosen.push_back(path); }
};

class Table : public Controls {
protected:
    void SetUp() override {
        Controls::SetUp();
        table = make<TableView>(Rect(0, 0, 200, 300));
        table->setRowHeight(30);
        table->setSectionHeaderHeight(14);
        table->setDataSource(&rows);
        table->setDelegate(&rows);
        window().addSubview(table);
        table->reloadData();
    }
    Rows rows;
    TableViewPtr table;
};

TEST_F(Table, OnlyTheRowsOnScreenHaveCellsAndCellsAreReusedAndAReloadKeepsTheOffsetWithinTheContent) {
    EXPECT_EQ(table->contentSize().height, 3 * (14 + 20 * 30));
    auto shown = table->visibleCells();
    ASSERT_EQ(shown.size(), 10u) << "rows 0 to 9 of section 0 reach into 300 points";
    EXPECT_EQ(shown.back().second->textLabel().text(), "row 0.9");
    EXPECT_EQ(shown.front().second->frame().width(), 200 - TableView::indexWidth) << "room for the index";
    table->setContentOffset({0, 1000});
    EXPECT_EQ(table->visibleCells().front().first, (IndexPath{1, 12}));
    EXPECT_EQ(rows.cellsMade, 10) << "cells that left the screen were filled again";
    rows.sizes = {5};
    table->reloadData();
    EXPECT_EQ(table->contentOffset().y, 0);
    EXPECT_EQ(table->visibleCells().size(), 5u);
    EXPECT_FALSE(table->indexPathForSelectedRow());
}

TEST_F(Table, TheHeaderOfTheSectionAtTheTopStaysPinnedUntilTheNextPushesIt) {
    table->setContentOffset({0, 100});
    View* header = table->viewWithTag(100);
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->frame().y(), 100);
    table->setContentOffset({0, 614 - 5});
    EXPECT_EQ(table->viewWithTag(100)->frame().y(), 614 - 14) << "pushed up by the next section";
    EXPECT_EQ(table->viewWithTag(101)->frame().y(), 614);
}

TEST_F(Table, ATapSelectsARowAndTellsTheDelegateButADragOnARowScrolls) {
    ASSERT_TRUE(driver.press("row 0.2"));
    ASSERT_EQ(rows.chosen.size(), 1u);
    EXPECT_EQ(rows.chosen[0], (IndexPath{0, 2}));
    EXPECT_TRUE(table->cellForRowAtIndexPath({0, 2})->isSelected());
    table->deselectRowAtIndexPath({0, 2});
    EXPECT_FALSE(table->cellForRowAtIndexPath({0, 2})->isSelected());

    driver.drag({80, 250}, {80, 100}, 0.5);
    EXPECT_EQ(rows.chosen.size(), 1u);
    EXPECT_NEAR(table->contentOffset().y, 150, 1);
}

// How a flick glides and where it stops is the scroll view's (TouchTest); a table adds that the touch
// stopping a glide chooses no row.
TEST_F(Table, ATouchThatStopsAGlideIsNotATapOnARow) {
    driver.drag({80, 280}, {80, 80}, 0.1);
    EXPECT_TRUE(table->isDecelerating());
    driver.tap({80, 150});
    EXPECT_FALSE(table->isDecelerating());
    EXPECT_TRUE(rows.chosen.empty());
    Float stopped = table->contentOffset().y;
    driver.advance(1);
    EXPECT_EQ(table->contentOffset().y, stopped);
}

// ---- Text field and search bar

class Listener : public SearchBarDelegate {
public:
    std::vector<std::string> heard;
    void searchBarTextDidChange(SearchBar&, const std::string& text) override {
        heard.push_back("change " + text);
    }
    void searchBarTextDidBeginEditing(SearchBar&) override { heard.push_back("begin"); }
    void searchBarTextDidEndEditing(SearchBar&) override { heard.push_back("end"); }
    void searchBarSearchButtonClicked(SearchBar&) override { heard.push_back("search"); }
    void searchBarCancelButtonClicked(SearchBar&) override { heard.push_back("cancel"); }
};

class Search : public Controls {
protected:
    void SetUp() override {
        Controls::SetUp();
        bar = make<SearchBar>(Rect(0, 0, 260, 44));
        bar->setDelegate(&listener);
        window().addSubview(bar);
    }
    void tapField() { driver.tap({60, 22}); }
    Listener listener;
    SearchBarPtr bar;
};

TEST_F(Search, ATapStartsEditingTypingReportsTheWholeTextReturnSearchesAndEscapeCloses) {
    EXPECT_FALSE(driver.type("x")) << "nothing has the focus yet";
    tapField();
    EXPECT_TRUE(bar->isEditing());
    ASSERT_TRUE(driver.type("Ti"));
    ASSERT_TRUE(driver.type("\xC3\xA4"));
    ASSERT_TRUE(driver.key("BackSpace"));
    EXPECT_EQ(bar->text(), "Ti");
    EXPECT_EQ(listener.heard,
              (std::vector<std::string>{"begin", "change Ti", "change Ti\xC3\xA4", "change Ti"}));
    bar->setText("quiet");
    EXPECT_EQ(listener.heard.size(), 4u) << "text set by code tells nobody";
    driver.key("Return");
    EXPECT_TRUE(bar->isEditing());
    driver.key("Escape");
    EXPECT_FALSE(bar->isEditing());
    EXPECT_EQ(std::vector(listener.heard.begin() + 4, listener.heard.end()),
              (std::vector<std::string>{"search", "end"}));
}

TEST_F(Search, EditingEndsWhenAnotherFieldTakesTheFocusOrTheBarLeavesTheScreen) {
    auto other = make<TextField>(Rect(0, 100, 200, 31));
    window().addSubview(other);
    tapField();
    driver.tap({50, 115});
    EXPECT_TRUE(other->isEditing());
    EXPECT_EQ(listener.heard, (std::vector<std::string>{"begin", "end"}));
    tapField();
    bar->removeFromSuperview();
    EXPECT_FALSE(bar->isEditing());
    EXPECT_EQ(listener.heard.back(), "end");
    EXPECT_FALSE(driver.type("x"));
}

} // namespace
