#pragma once
// The alphabetical index of the atlas: a search bar above a table whose sections are the first letters
// of the terms, with the letters along the side and, when Latin terms exist, the buttons "ENG" and
// "LATIN" that switch the list between the English and the Latin terms. Choosing a row makes the viewer
// travel to that structure.
//
// The viewer makes one controller with what a chosen row and the language buttons do (`onChoose`,
// `onLanguage`), hands it the two sorted term lists (`setDataEng`) and shows the controller's view
// inside its index panel, calling `awakeFromNib` the first time. The lists are kept by reference: the
// viewer keeps them alive as long as this controller.
//
// What the table shows is `filteredListContent`, the terms of the current language that pass the
// search, grouped by their first character as written: capitals sort before small letters, so "Ant",
// "apple" and "bone" make the sections "A", "a" and "b".

#include "Platform/Button.h"
#include "Platform/SearchBar.h"
#include "Platform/TableView.h"
#include "Platform/ViewController.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class IndexViewController : public ui::ViewController,
                            public ui::TableViewDataSource,
                            public ui::TableViewDelegate,
                            public ui::SearchBarDelegate {
public:
    struct RowRecord {
        std::string title;
    };
    struct SectionRecord {
        std::string letter;
        std::vector<RowRecord> timeZones; // the section's rows, in list order
    };

    // The view as the interface description lays it out: the language buttons' row (29 high), the
    // search bar (44 high) below it, the table under that.
    static constexpr ui::Size viewSize{264.5, 367.5};
    // Every row and every section header has the same height.
    static constexpr float rowHeight = 30, headerHeight = 14;

    // A chosen row's term; the language a language button switched to, "eng" or "lat".
    using OnChoose = std::function<void(const std::string& term)>;
    using OnLanguage = std::function<void(const std::string& language)>;

    IndexViewController() = default;
    IndexViewController(OnChoose onChoose, OnLanguage onLanguage);
    ~IndexViewController() override;

    // Stores both lists and makes the English one current.
    void setDataEng(const std::vector<std::string>& english, const std::vector<std::string>& latin);
    // One-time set-up, before the first showing.
    void awakeFromNib();
    void setUpDisplayList();
    void reloadDataMyTable();
    // The action of both language buttons.
    void selectIndex(ui::Button* sender);

    void loadView() override;
    void viewWillAppear(bool animated) override;

    // ---- Search bar
    void searchBarTextDidChange(ui::SearchBar& searchBar, const std::string& searchText) override;
    void searchBarTextDidBeginEditing(ui::SearchBar& searchBar) override;
    void searchBarTextDidEndEditing(ui::SearchBar& searchBar) override;
    void searchBarCancelButtonClicked(ui::SearchBar& searchBar) override;
    void searchBarSearchButtonClicked(ui::SearchBar& searchBar) override;

    // ---- Table
    int numberOfSectionsInTableView(ui::TableView& tableView) override;
    int numberOfRowsInSection(ui::TableView& tableView, int section) override;
    ui::TableViewCellPtr cellForRowAtIndexPath(ui::TableView& tableView, ui::IndexPath indexPath) override;
    std::vector<std::string> sectionIndexTitlesForTableView(ui::TableView& tableView) override;
    int sectionForSectionIndexTitle(ui::TableView& tableView, const std::string& title, int index) override;
    ui::ViewPtr viewForHeaderInSection(ui::TableView& tableView, int section) override;
    void didSelectRowAtIndexPath(ui::TableView& tableView, ui::IndexPath indexPath) override;

    // What the table shows: its rows' terms in order, and the letters of its side index.
    std::vector<std::string> rowTitles() const;
    std::vector<std::string> sectionLetters() const;

    // A term passes a search when its first characters, as many as the search text has, equal the search
    // text regardless of case; every term passes an empty search.
    static bool matchesSearch(const std::string& term, const std::string& searchText);
    // The first character of a term (one UTF-8 character, as written).
    static std::string firstCharacter(const std::string& term);

    const std::vector<std::string>& listContent() const { return *listContent_; }
    std::vector<std::string> filteredListContent;
    std::vector<std::string> savedContent;
    std::vector<SectionRecord> displayList;
    std::vector<std::string> indexLetters;

    std::shared_ptr<ui::TableView> myTableView;
    std::shared_ptr<ui::SearchBar> mySearchBar;
    ui::ButtonPtr eng, lat;
    ui::Point engPoint, latPoint;

private:
    void createLanguageButtons();
    void showLanguagePressed(ui::Button& pressed, ui::Button& other);

    static inline const std::vector<std::string> noTerms_;

    OnChoose onChoose_;
    OnLanguage onLanguage_;
    const std::vector<std::string>* arrayEng_ = &noTerms_;
    const std::vector<std::string>* arrayLat_ = &noTerms_;
    const std::vector<std::string>* listContent_ = &noTerms_;
};
