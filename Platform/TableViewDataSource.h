#pragma once
// What a table shows: its sections, their rows, a cell for each row on screen and the letter index.

#include "Platform/IndexPath.h"
#include "Platform/TableViewCell.h"

#include <string>
#include <vector>

namespace ui {

class TableView;

class TableViewDataSource {
public:
    virtual ~TableViewDataSource() = default;
    virtual int numberOfSectionsInTableView(TableView&) { return 1; }
    virtual int numberOfRowsInSection(TableView&, int section) = 0;
    virtual TableViewCellPtr cellForRowAtIndexPath(TableView&, IndexPath indexPath) = 0;
    // The titles of the letter index; none hides it.
    virtual std::vector<std::string> sectionIndexTitlesForTableView(TableView&) { return {}; }
    // The section that the index title at `index` jumps to.
    virtual int sectionForSectionIndexTitle(TableView&, const std::string& /*title*/, int index) {
        return index;
    }
};

} // namespace ui
