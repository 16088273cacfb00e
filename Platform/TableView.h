#pragma once
// A table: rows of one fixed height in sections, each under a header of one fixed height, scrolled
// vertically, with an optional letter index along the right edge.
//
//     table->setDataSource(this);    // sections, rows, cells and index titles
//     table->setDelegate(this);      // header views and row selection
//     table->setRowHeight(30);
//     table->reloadData();
//
// Only the rows on screen have cells: the table asks the data source for a cell when a row comes into
// view and keeps the cells of rows that leave it for `dequeueReusableCellWithIdentifier`. A section's
// header stays pinned to the top while its rows pass under it, until the next header pushes it away.
//
// Touches: a tap on a row selects it (its cell shows highlighted) and tells the delegate. A drag
// scrolls, and a flick glides on as in any scroll view (a touch meanwhile stops it and is not a tap).
// A touch on the letter index, or a finger sliding along it, jumps to the section of the letter under
// the finger.

#include "Platform/IndexPath.h"
#include "Platform/TableScroller.h"
#include "Platform/TableSectionIndex.h"
#include "Platform/TableViewCell.h"
#include "Platform/TableViewDataSource.h"
#include "Platform/TableViewDelegate.h"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ui {

class TableView : public View {
public:
    static constexpr Float indexWidth = 24;

    explicit TableView(const Rect& frame = {});
    ~TableView() override;

    // Neither is owned; null for none.
    void setDataSource(TableViewDataSource* dataSource) { dataSource_ = dataSource; }
    void setDelegate(TableViewDelegate* delegate) { delegate_ = delegate; }
    Float rowHeight() const { return rowHeight_; }
    void setRowHeight(Float height);
    Float sectionHeaderHeight() const { return headerHeight_; }
    void setSectionHeaderHeight(Float height);
    // The letters of the side index, and what they stand on: by default grey letters straight on
    // whatever is below; a background colour fills the strip, over the section headers too.
    void setSectionIndexColor(const Color& color);
    void setSectionIndexBackgroundColor(const Color& color);

    // Asks the data source for everything again; the selection is cleared and the offset kept within
    // the new content.
    void reloadData();
    // A cell that left the screen, ready to be filled again, or null when none is waiting.
    TableViewCellPtr dequeueReusableCellWithIdentifier(const std::string& identifier);

    int numberOfSections() const { return static_cast<int>(rowCounts_.size()); }
    int numberOfRowsInSection(int section) const;
    const std::vector<std::string>& sectionIndexTitles() const { return indexTitles_; }
    // Content coordinates: the section with its header, and one row.
    Rect rectForSection(int section) const;
    Rect rectForRowAtIndexPath(IndexPath indexPath) const;
    // The cells of the rows on screen, top to bottom.
    std::vector<std::pair<IndexPath, TableViewCell*>> visibleCells() const;
    // The row's cell while it is on screen, else null.
    TableViewCell* cellForRowAtIndexPath(IndexPath indexPath) const;

    std::optional<IndexPath> indexPathForSelectedRow() const { return selected_; }
    void deselectRowAtIndexPath(IndexPath indexPath);

    Point contentOffset() const;
    void setContentOffset(Point offset, bool animated = false);
    Size contentSize() const;
    // Scrolls so that the section's header is at the top (or as near as the content allows).
    void scrollToSection(int section);
    // The content glides on after a flick.
    bool isDecelerating() const;
    // Where the letter index is, in the table's coordinates (empty when it is hidden).
    Rect sectionIndexFrame() const;

    std::string className() const override { return "TableView"; }

protected:
    void boundsSizeDidChange() override { layOut(); }

private:
    void layOut();
    void layOutRows();
    std::vector<IndexPath> rowsBetween(Float top, Float bottom) const;
    void layOutHeaders(Float visibleTop, Float visibleBottom);
    void placeCell(IndexPath indexPath, Float cellWidth);
    void recycle(const TableViewCellPtr& cell);
    void rowTapped(TableViewCell& cell);
    void jumpToIndexTitle(int index);
    Float sectionTop(int section) const;
    Float rowsWidth() const;

    TableViewDataSource* dataSource_ = nullptr;
    TableViewDelegate* delegate_ = nullptr;
    Float rowHeight_ = 44, headerHeight_ = 22;
    std::vector<int> rowCounts_;
    std::vector<Float> sectionTops_;
    std::vector<std::string> indexTitles_;
    std::shared_ptr<TableScroller> scroller_;
    std::shared_ptr<TableSectionIndex> strip_;
    Color indexColor_, indexBackgroundColor_ = Color::clear();
    std::map<IndexPath, TableViewCellPtr> visible_;
    std::map<int, ViewPtr> headers_;
    std::map<std::string, std::vector<TableViewCellPtr>> reusable_;
    std::optional<IndexPath> selected_;
};

using TableViewPtr = std::shared_ptr<TableView>;

} // namespace ui
