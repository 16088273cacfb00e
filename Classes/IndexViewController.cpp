#include "IndexViewController.h"

#include "Platform/Bundle.h"
#include "Platform/Label.h"

#include <algorithm>
#include <glib.h>

namespace {

const char* const cellIdentifier = "MyIdentifier";
constexpr float buttonRowHeight = 29, searchBarHeight = 44;

// Text in which every byte is valid UTF-8 (a stray byte becomes U+FFFD), so that GLib may walk it.
std::string validUtf8(const std::string& text) {
    gchar* valid = g_utf8_make_valid(text.data(), static_cast<gssize>(text.size()));
    std::string result(valid);
    g_free(valid);
    return result;
}

std::string caseFolded(const std::string& text) {
    gchar* folded = g_utf8_casefold(text.data(), static_cast<gssize>(text.size()));
    std::string result(folded);
    g_free(folded);
    return result;
}

ui::Image musclePicture(bool pressed) {
    return ui::Bundle::main().image(pressed ? "Buttons/muscle_pressed.png" : "Buttons/muscle.png");
}

} // namespace

IndexViewController::IndexViewController(OnChoose onChoose, OnLanguage onLanguage)
    : onChoose_(std::move(onChoose)), onLanguage_(std::move(onLanguage)) {}

IndexViewController::~IndexViewController() {
    if (mySearchBar)
        mySearchBar->setDelegate(nullptr);
    if (myTableView) {
        myTableView->setDataSource(nullptr);
        myTableView->setDelegate(nullptr);
    }
}

void IndexViewController::loadView() {
    auto view = ui::make<ui::View>(ui::Rect(ui::Point{}, viewSize));
    view->setIdentifier("IndexViewController");
    mySearchBar = ui::make<ui::SearchBar>(ui::Rect(0, buttonRowHeight, viewSize.width, searchBarHeight));
    mySearchBar->setIdentifier("mySearchBar");
    mySearchBar->setDelegate(this);
    float tableTop = buttonRowHeight + searchBarHeight;
    myTableView = ui::make<ui::TableView>(ui::Rect(0, tableTop, viewSize.width, viewSize.height - tableTop));
    myTableView->setIdentifier("myTableView");
    myTableView->setRowHeight(rowHeight);
    myTableView->setSectionHeaderHeight(headerHeight);
    // White letters on a band of the panel's dark colour read on every section header and row.
    myTableView->setSectionIndexColor(ui::Color::white());
    myTableView->setSectionIndexBackgroundColor(ui::Color::rgb255(20, 22, 28));
    myTableView->setDataSource(this);
    myTableView->setDelegate(this);
    view->addSubview(myTableView);
    view->addSubview(mySearchBar);
    setView(std::move(view));
}

void IndexViewController::setDataEng(const std::vector<std::string>& english,
                                     const std::vector<std::string>& latin) {
    arrayEng_ = &english;
    arrayLat_ = &latin;
    listContent_ = arrayEng_;
}

void IndexViewController::awakeFromNib() {
    filteredListContent = *listContent_;
    if (!arrayLat_->empty()) {
        createLanguageButtons();
    } else {
        ui::Rect bar = mySearchBar->frame(), table = myTableView->frame();
        mySearchBar->setFrame(ui::Rect(0, 0, bar.width(), searchBarHeight));
        myTableView->setFrame(ui::Rect(0, searchBarHeight, table.width(), table.height() + buttonRowHeight));
    }
    reloadDataMyTable();
    savedContent.clear();
    savedContent.reserve(listContent_->size());
    // Typed text reaches the field as typed: there is no correction or capitalisation to switch off.
    mySearchBar->setShowsCancelButton(false);
    mySearchBar->setTintColor(ui::Color::black());
}

// English is the language the list starts in.
void IndexViewController::createLanguageButtons() {
    auto makeButton = [this](const char* title, const ui::Rect& frame) {
        auto button = ui::make<ui::Button>(ui::ButtonType::Custom, frame);
        button->setIdentifier(title);
        button->setTitle(title);
        button->setTitleColor(ui::Color::white());
        button->addAction([this](ui::Button* sender) { selectIndex(sender); });
        view()->addSubview(button);
        return button;
    };
    eng = makeButton("ENG", ui::Rect(1, 0, 131, buttonRowHeight));
    eng->setBackgroundImage(musclePicture(true));
    eng->setBackgroundImage(musclePicture(true), ui::ControlState::Highlighted);
    lat = makeButton("LATIN", ui::Rect(133, 0, 130, buttonRowHeight));
    lat->setBackgroundImage(musclePicture(false));
    lat->setBackgroundImage(musclePicture(true), ui::ControlState::Highlighted);
}

void IndexViewController::setUpDisplayList() {
    if (filteredListContent.empty())
        return;
    std::vector<SectionRecord> groups;
    for (const auto& term : filteredListContent) {
        if (term.empty())
            continue;
        std::string key = firstCharacter(term);
        auto group = std::find_if(groups.begin(), groups.end(),
                                  [&](const SectionRecord& section) { return section.letter == key; });
        if (group == groups.end())
            group = groups.insert(groups.end(), SectionRecord{key, {}});
        group->timeZones.push_back({term});
    }
    std::stable_sort(groups.begin(), groups.end(),
                     [](const SectionRecord& a, const SectionRecord& b) { return a.letter < b.letter; });
    indexLetters.clear();
    for (const auto& section : groups)
        indexLetters.push_back(section.letter);
    displayList = std::move(groups);
}

void IndexViewController::reloadDataMyTable() {
    setUpDisplayList();
    myTableView->reloadData();
}

void IndexViewController::selectIndex(ui::Button* sender) {
    bool toEnglish = sender == eng.get();
    if (!sender || (!toEnglish && sender != lat.get()))
        return;
    const auto* chosen = toEnglish ? arrayEng_ : arrayLat_;
    if (*listContent_ == *chosen)
        return;
    listContent_ = chosen;
    showLanguagePressed(toEnglish ? *eng : *lat, toEnglish ? *lat : *eng);
    ui::Point& leaving = toEnglish ? latPoint : engPoint;
    leaving = myTableView->contentOffset();
    myTableView->setContentOffset(toEnglish ? engPoint : latPoint);
    if (onLanguage_)
        onLanguage_(toEnglish ? "eng" : "lat");
    filteredListContent = *listContent_;
    reloadDataMyTable();
}

void IndexViewController::showLanguagePressed(ui::Button& pressed, ui::Button& other) {
    pressed.setBackgroundImage(musclePicture(true));
    other.setBackgroundImage(musclePicture(false));
}

void IndexViewController::viewWillAppear(bool) {
    if (!myTableView)
        return;
    if (auto selected = myTableView->indexPathForSelectedRow())
        myTableView->deselectRowAtIndexPath(*selected);
}

// ---- Search bar

bool IndexViewController::matchesSearch(const std::string& term, const std::string& searchText) {
    if (searchText.empty())
        return true;
    std::string text = validUtf8(searchText), candidate = validUtf8(term);
    glong length = g_utf8_strlen(text.data(), static_cast<gssize>(text.size()));
    if (g_utf8_strlen(candidate.data(), static_cast<gssize>(candidate.size())) < length)
        return false;
    const char* end = g_utf8_offset_to_pointer(candidate.data(), length);
    return caseFolded(candidate.substr(0, static_cast<std::size_t>(end - candidate.data()))) ==
           caseFolded(text);
}

std::string IndexViewController::firstCharacter(const std::string& term) {
    if (term.empty())
        return {};
    auto lead = static_cast<unsigned char>(term[0]);
    std::size_t length = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    std::size_t whole = 1;
    while (whole < length && whole < term.size() && (static_cast<unsigned char>(term[whole]) & 0xC0) == 0x80)
        ++whole;
    return term.substr(0, whole);
}

void IndexViewController::searchBarTextDidChange(ui::SearchBar&, const std::string& searchText) {
    filteredListContent.clear();
    for (const auto& term : *listContent_) {
        if (matchesSearch(term, searchText))
            filteredListContent.push_back(term);
    }
    reloadDataMyTable();
}

void IndexViewController::searchBarTextDidBeginEditing(ui::SearchBar& searchBar) {
    searchBar.setShowsCancelButton(true);
    savedContent = filteredListContent;
}

void IndexViewController::searchBarTextDidEndEditing(ui::SearchBar& searchBar) {
    searchBar.setShowsCancelButton(false);
}

// The list before this round of editing comes back; the search text stays in the bar.
void IndexViewController::searchBarCancelButtonClicked(ui::SearchBar& searchBar) {
    if (!searchBar.text().empty())
        filteredListContent = savedContent;
    myTableView->reloadData();
    searchBar.resignFirstResponder();
}

void IndexViewController::searchBarSearchButtonClicked(ui::SearchBar& searchBar) {
    searchBar.resignFirstResponder();
}

// ---- Table. An empty filtered list shows one empty section without letters, whatever the previous
// sections were.

int IndexViewController::numberOfSectionsInTableView(ui::TableView&) {
    return filteredListContent.empty() ? 1 : static_cast<int>(displayList.size());
}

int IndexViewController::numberOfRowsInSection(ui::TableView&, int section) {
    if (filteredListContent.empty() || section < 0 || section >= static_cast<int>(displayList.size()))
        return 0;
    return static_cast<int>(displayList[static_cast<std::size_t>(section)].timeZones.size());
}

ui::TableViewCellPtr IndexViewController::cellForRowAtIndexPath(ui::TableView& tableView,
                                                                ui::IndexPath indexPath) {
    auto cell = tableView.dequeueReusableCellWithIdentifier(cellIdentifier);
    if (!cell)
        cell = ui::make<ui::TableViewCell>(cellIdentifier);
    cell->setAccessoryType(ui::TableViewCellAccessory::DisclosureIndicator);
    ui::Label& text = cell->textLabel();
    text.setText(displayList.at(static_cast<std::size_t>(indexPath.section))
                     .timeZones.at(static_cast<std::size_t>(indexPath.row))
                     .title);
    text.setFont(ui::Font::system(16));
    text.setTextColor(ui::Color::white());
    cell->setBackgroundColor(ui::Color::clear());
    return cell;
}

std::vector<std::string> IndexViewController::sectionIndexTitlesForTableView(ui::TableView&) {
    return sectionLetters();
}

std::vector<std::string> IndexViewController::sectionLetters() const {
    if (filteredListContent.empty())
        return {};
    std::vector<std::string> letters;
    for (const auto& section : displayList)
        letters.push_back(section.letter);
    return letters;
}

std::vector<std::string> IndexViewController::rowTitles() const {
    std::vector<std::string> titles;
    if (filteredListContent.empty())
        return titles;
    for (const auto& section : displayList) {
        for (const auto& row : section.timeZones)
            titles.push_back(row.title);
    }
    return titles;
}

int IndexViewController::sectionForSectionIndexTitle(ui::TableView&, const std::string& title, int) {
    if (filteredListContent.empty())
        return 0;
    auto found = std::find(indexLetters.begin(), indexLetters.end(), title);
    return found == indexLetters.end() ? 0 : static_cast<int>(found - indexLetters.begin());
}

ui::ViewPtr IndexViewController::viewForHeaderInSection(ui::TableView& tableView, int section) {
    if (filteredListContent.empty() || section < 0 || section >= static_cast<int>(displayList.size()))
        return nullptr;
    auto header = ui::make<ui::Label>(ui::Rect(0, 0, tableView.bounds().width(), headerHeight));
    header->setFont(ui::Font::system(12));
    header->setTextColor(ui::Color::black());
    header->setBackgroundColor(ui::Color::gray());
    header->setText("   " + displayList[static_cast<std::size_t>(section)].letter);
    return header;
}

void IndexViewController::didSelectRowAtIndexPath(ui::TableView&, ui::IndexPath indexPath) {
    std::string term = displayList.at(static_cast<std::size_t>(indexPath.section))
                           .timeZones.at(static_cast<std::size_t>(indexPath.row))
                           .title;
    if (onChoose_)
        onChoose_(term);
    mySearchBar->resignFirstResponder();
}
