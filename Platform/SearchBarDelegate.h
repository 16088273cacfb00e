#pragma once
// What a search bar tells its owner: typing, the field taking and giving up the focus, "Return" and
// the cancel button (see SearchBar.h).

#include <string>

namespace ui {

class SearchBar;

class SearchBarDelegate {
public:
    virtual ~SearchBarDelegate() = default;
    virtual void searchBarTextDidChange(SearchBar&, const std::string& /*searchText*/) {}
    virtual void searchBarTextDidBeginEditing(SearchBar&) {}
    virtual void searchBarTextDidEndEditing(SearchBar&) {}
    virtual void searchBarSearchButtonClicked(SearchBar&) {}
    virtual void searchBarCancelButtonClicked(SearchBar&) {}
};

} // namespace ui
