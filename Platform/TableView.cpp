#include "Platform/TableView.h"

#include <algorithm>
#include <cmath>

namespace ui {

TableView::TableView(const Rect& frame) : View(frame), indexColor_(TableSectionIndex::defaultLetterColor()) {
    scroller_ = make<TableScroller>([this] { layOutRows(); });
    addSubview(scroller_);
    strip_ = make<TableSectionIndex>([this](int index) { jumpToIndexTitle(index); });
    strip_->setHidden(true);
    addSubview(strip_);
    layOut();
}

void TableView::setSectionIndexColor(const Color& color) {
    indexColor_ = color;
    strip_->setColors(indexColor_, indexBackgroundColor_);
}

void TableView::setSectionIndexBackgroundColor(const Color& color) {
    indexBackgroundColor_ = color;
    strip_->setColors(indexColor_, indexBackgroundColor_);
}

TableView::~TableView() {
    for (auto& [path, cell] : visible_)
        cell->tapped_ = nullptr;
}

void TableView::setRowHeight(Float height) {
    rowHeight_ = std::max(height, 1.0);
}

void TableView::setSectionHeaderHeight(Float height) {
    headerHeight_ = std::max(height, 0.0);
}

void TableView::reloadData() {
    for (auto& [path, cell] : visible_)
        recycle(cell);
    visible_.clear();
    for (auto& [section, header] : headers_)
        header->removeFromSuperview();
    headers_.clear();
    selected_.reset();

    int sections = dataSource_ ? std::max(dataSource_->numberOfSectionsInTableView(*this), 0) : 0;
    rowCounts_.assign(static_cast<std::size_t>(sections), 0);
    sectionTops_.assign(1, 0);
    for (int s = 0; s < sections; ++s) {
        rowCounts_[static_cast<std::size_t>(s)] = std::max(dataSource_->numberOfRowsInSection(*this, s), 0);
        sectionTops_.push_back(sectionTops_.back() + headerHeight_ +
                               rowHeight_ * rowCounts_[static_cast<std::size_t>(s)]);
    }
    indexTitles_ =
        dataSource_ ? dataSource_->sectionIndexTitlesForTableView(*this) : std::vector<std::string>();
    strip_->setTitles(indexTitles_);

    scroller_->setContentSize({bounds().width(), sectionTops_.back()});
    Point offset = scroller_->contentOffset();
    Point most = scroller_->maximumContentOffset();
    if (offset.y > most.y)
        scroller_->setContentOffset({offset.x, most.y});
    layOut();
}

TableViewCellPtr TableView::dequeueReusableCellWithIdentifier(const std::string& identifier) {
    auto it = reusable_.find(identifier);
    if (it == reusable_.end() || it->second.empty())
        return nullptr;
    TableViewCellPtr cell = std::move(it->second.back());
    it->second.pop_back();
    return cell;
}

int TableView::numberOfRowsInSection(int section) const {
    if (section < 0 || section >= numberOfSections())
        return 0;
    return rowCounts_[static_cast<std::size_t>(section)];
}

Float TableView::sectionTop(int section) const {
    return sectionTops_[static_cast<std::size_t>(std::clamp(section, 0, numberOfSections()))];
}

Rect TableView::rectForSection(int section) const {
    if (section < 0 || section >= numberOfSections())
        return {};
    return {0, sectionTop(section), bounds().width(), sectionTop(section + 1) - sectionTop(section)};
}

Rect TableView::rectForRowAtIndexPath(IndexPath indexPath) const {
    if (indexPath.row < 0 || indexPath.row >= numberOfRowsInSection(indexPath.section))
        return {};
    return {0, sectionTop(indexPath.section) + headerHeight_ + rowHeight_ * indexPath.row, rowsWidth(),
            rowHeight_};
}

std::vector<std::pair<IndexPath, TableViewCell*>> TableView::visibleCells() const {
    std::vector<std::pair<IndexPath, TableViewCell*>> cells;
    for (const auto& [path, cell] : visible_)
        cells.emplace_back(path, cell.get());
    return cells;
}

TableViewCell* TableView::cellForRowAtIndexPath(IndexPath indexPath) const {
    auto it = visible_.find(indexPath);
    return it == visible_.end() ? nullptr : it->second.get();
}

void TableView::deselectRowAtIndexPath(IndexPath indexPath) {
    if (selected_ != indexPath)
        return;
    selected_.reset();
    if (auto* cell = cellForRowAtIndexPath(indexPath))
        cell->setSelected(false);
}

Point TableView::contentOffset() const {
    return scroller_->contentOffset();
}

// Like the phone's, this does not keep the offset within the content: a list about to be reloaded
// may be scrolled to where its new content will reach.
void TableView::setContentOffset(Point offset, bool animated) {
    scroller_->setContentOffset(offset, animated);
    layOutRows();
}

Size TableView::contentSize() const {
    return scroller_->contentSize();
}

void TableView::scrollToSection(int section) {
    if (section < 0 || section >= numberOfSections())
        return;
    setContentOffset({0, std::min(sectionTop(section), scroller_->maximumContentOffset().y)});
}

bool TableView::isDecelerating() const {
    return scroller_->isDecelerating();
}

Rect TableView::sectionIndexFrame() const {
    return strip_->isHidden() ? Rect() : strip_->frame();
}

void TableView::jumpToIndexTitle(int index) {
    if (index < 0 || index >= static_cast<int>(indexTitles_.size()))
        return;
    int section = dataSource_ ? dataSource_->sectionForSectionIndexTitle(
                                    *this, indexTitles_[static_cast<std::size_t>(index)], index)
                              : index;
    scrollToSection(section);
}

Float TableView::rowsWidth() const {
    return bounds().width() - (strip_->isHidden() ? 0 : indexWidth);
}

void TableView::layOut() {
    Rect b(0, 0, bounds().width(), bounds().height());
    scroller_->setFrame(b);
    scroller_->setContentSize({b.width(), scroller_->contentSize().height});
    strip_->setFrame(Rect(b.width() - indexWidth, 0, indexWidth, b.height()));
    for (auto& [path, cell] : visible_)
        cell->setFrame(Rect(0, cell->frame().y(), rowsWidth(), rowHeight_));
    layOutRows();
}

// Rows are made for what the screen shows and for where the model is, so that an animated scroll has
// rows all the way. Cells of rows that left are recycled before rows that came in ask for cells.
void TableView::layOutRows() {
    Rect model = scroller_->bounds(), shown = scroller_->presentationBounds();
    std::vector<IndexPath> wanted =
        rowsBetween(std::min(model.minY(), shown.minY()), std::max(model.maxY(), shown.maxY()));
    auto previous = std::move(visible_);
    visible_.clear();
    for (const IndexPath& path : wanted) {
        if (auto it = previous.find(path); it != previous.end())
            visible_.insert(previous.extract(it));
    }
    for (auto& [path, cell] : previous)
        recycle(cell);
    for (const IndexPath& path : wanted) {
        if (!visible_.contains(path))
            placeCell(path, rowsWidth());
    }
    layOutHeaders(std::min(model.minY(), shown.minY()), std::max(model.maxY(), shown.maxY()));
}

std::vector<IndexPath> TableView::rowsBetween(Float top, Float bottom) const {
    std::vector<IndexPath> rows;
    for (int s = 0; s < numberOfSections(); ++s) {
        Float rowsTop = sectionTop(s) + headerHeight_;
        int count = numberOfRowsInSection(s);
        if (count == 0 || rowsTop + rowHeight_ * count <= top || rowsTop >= bottom)
            continue;
        int first = std::max(0, static_cast<int>(std::floor((top - rowsTop) / rowHeight_)));
        int last = std::min(count - 1, static_cast<int>(std::ceil((bottom - rowsTop) / rowHeight_)) - 1);
        for (int r = first; r <= last; ++r)
            rows.push_back({s, r});
    }
    return rows;
}

void TableView::placeCell(IndexPath indexPath, Float cellWidth) {
    if (!dataSource_)
        return;
    TableViewCellPtr cell = dataSource_->cellForRowAtIndexPath(*this, indexPath);
    if (!cell)
        return;
    cell->setFrame(Rect(0, rectForRowAtIndexPath(indexPath).y(), cellWidth, rowHeight_));
    cell->setSelected(selected_ == indexPath);
    cell->tapped_ = [this](TableViewCell& tapped) { rowTapped(tapped); };
    scroller_->insertSubview(cell, 0);
    visible_[indexPath] = std::move(cell);
}

void TableView::recycle(const TableViewCellPtr& cell) {
    cell->removeFromSuperview();
    cell->setSelected(false);
    cell->setHighlighted(false);
    cell->tapped_ = nullptr;
    if (!cell->reuseIdentifier().empty())
        reusable_[cell->reuseIdentifier()].push_back(cell);
}

// Headers lie over the rows; the one of the section at the top stays pinned there until the end of its
// section pushes it up.
void TableView::layOutHeaders(Float visibleTop, Float visibleBottom) {
    auto previous = std::move(headers_);
    headers_.clear();
    Float offsetY = scroller_->contentOffset().y;
    for (int s = 0; delegate_ && headerHeight_ > 0 && s < numberOfSections(); ++s) {
        Float sectionStart = sectionTop(s), sectionEnd = sectionTop(s + 1);
        if (sectionEnd <= visibleTop || sectionStart >= visibleBottom)
            continue;
        ViewPtr header;
        if (auto it = previous.find(s); it != previous.end()) {
            header = std::move(it->second);
            previous.erase(it);
        } else {
            header = delegate_->viewForHeaderInSection(*this, s);
        }
        if (!header)
            continue;
        Float y = std::clamp(offsetY, sectionStart, std::max(sectionStart, sectionEnd - headerHeight_));
        header->setFrame(Rect(0, y, bounds().width(), headerHeight_));
        scroller_->addSubview(header);
        headers_[s] = std::move(header);
    }
    for (auto& [section, header] : previous)
        header->removeFromSuperview();
}

void TableView::rowTapped(TableViewCell& cell) {
    auto keepAlive = shared_from_this();
    for (auto& [path, shown] : visible_) {
        if (shown.get() != &cell)
            continue;
        if (selected_)
            if (auto* old = cellForRowAtIndexPath(*selected_))
                old->setSelected(false);
        selected_ = path;
        cell.setSelected(true);
        IndexPath chosen = path;
        if (delegate_)
            delegate_->didSelectRowAtIndexPath(*this, chosen);
        return;
    }
}

} // namespace ui
