#include "Platform/TableView.h"

#include "Platform/ControlDrawing.h"
#include "Platform/RunLoop.h"

#include <algorithm>
#include <cmath>
#include <deque>

namespace ui {

namespace {

const Color selectionTop = {0.02, 0.55, 0.96, 1};
const Color selectionBottom = {0.00, 0.36, 0.90, 1};
const Color separatorGrey = {0.55, 0.55, 0.55, 0.55};
const Color chevronGrey = {0.60, 0.60, 0.60, 1};
const Color indexGrey = {0.62, 0.62, 0.66, 1};

constexpr Float cellTextInset = 10;
constexpr Float accessoryRoom = 30;

} // namespace

// ---- Cells

TableViewCell::TableViewCell(std::string reuseIdentifier) : reuseIdentifier_(std::move(reuseIdentifier)) {
    textLabel_ = make<Label>();
    textLabel_->setBackgroundColor(Color::clear());
    textLabel_->setFont(Font::boldSystem(20));
    addSubview(textLabel_);
    addTarget(ControlEvent::TouchUpInside, [](Control* sender) {
        auto* cell = static_cast<TableViewCell*>(sender);
        if (cell->tapped_)
            cell->tapped_(*cell);
    });
}

void TableViewCell::setAccessoryType(TableViewCellAccessory accessory) {
    accessory_ = accessory;
    layOut();
    setNeedsDisplay();
}

void TableViewCell::layOut() {
    Float right = accessory_ == TableViewCellAccessory::None ? cellTextInset : accessoryRoom;
    textLabel_->setFrame(
        Rect(cellTextInset, 0, std::max(bounds().width() - cellTextInset - right, 0.0), bounds().height()));
}

void TableViewCell::draw(const DrawContext& context) {
    cairo_t* cr = context.cr;
    Rect b = bounds();
    bool marked = isHighlighted() || isSelected();
    if (marked) {
        setVerticalGradient(cr, b, selectionTop, selectionBottom, context.opacity);
        cairo_rectangle(cr, b.x(), b.y(), b.width(), b.height());
        cairo_fill(cr);
    }
    setColor(cr, separatorGrey, context.opacity);
    cairo_rectangle(cr, b.x(), b.maxY() - 1, b.width(), 1);
    cairo_fill(cr);
    if (accessory_ == TableViewCellAccessory::DisclosureIndicator) {
        Float x = b.maxX() - 15, y = b.midY();
        cairo_move_to(cr, x - 3.5, y - 5);
        cairo_line_to(cr, x + 1.5, y);
        cairo_line_to(cr, x - 3.5, y + 5);
        cairo_set_line_width(cr, 2.5);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_SQUARE);
        setColor(cr, marked ? Color::white() : chevronGrey, context.opacity);
        cairo_stroke(cr);
    }
}

// ---- The scrolling content

// Scrolls the rows, keeps the table's cells in step with the offset, and glides on after a flick: the
// speed of the last tenth of a second of dragging, slowed by the phone's normal rate of 0.998 per
// millisecond, stopping at the ends of the content.
class TableView::Scroller : public ScrollView {
public:
    static constexpr Float decelerationPerMillisecond = 0.998;
    static constexpr Float glideInterval = 1.0 / 60;
    static constexpr Float sampleWindow = 0.1;
    static constexpr Float slowest = 10; // points per second

    explicit Scroller(TableView& table) : table_(table) { setShowsHorizontalScrollIndicator(false); }
    ~Scroller() override { stopGliding(); }

    bool isDecelerating() const { return glide_ && glide_->isValid(); }
    void stopGliding() {
        if (glide_)
            glide_->invalidate();
        glide_.reset();
    }

    // While gliding, a touch anywhere on the content stops it instead of reaching a row.
    View* hitTest(Point point) override {
        View* hit = ScrollView::hitTest(point);
        return hit && isDecelerating() ? this : hit;
    }

    void touchesBegan(const TouchSet& touches) override {
        stopGliding();
        samples_.clear();
        ScrollView::touchesBegan(touches);
    }
    void touchesMoved(const TouchSet& touches) override {
        ScrollView::touchesMoved(touches);
        if (!isDragging())
            return;
        samples_.push_back({RunLoop::main().now(), contentOffset().y});
        while (samples_.size() > 2 && samples_.back().time - samples_.front().time > sampleWindow)
            samples_.pop_front();
        table_.layOutRows();
    }
    void scrollBy(Point delta) override {
        stopGliding();
        ScrollView::scrollBy(delta);
        table_.layOutRows();
    }
    void touchesEnded(const TouchSet& touches) override {
        bool dragged = isDragging();
        ScrollView::touchesEnded(touches);
        if (dragged)
            glide(releaseSpeed());
        samples_.clear();
    }

    void drawOverlay(const DrawContext& context) override {
        if (!isDragging() && !isDecelerating() && !hasRunningAnimations())
            return;
        Rect b = presentationBounds();
        if (contentSize().height <= b.height())
            return;
        constexpr Float thickness = 3, inset = 2;
        Float length = std::max(b.height() * b.height() / contentSize().height, 4 * thickness);
        Float share = std::clamp(b.y() / (contentSize().height - b.height()), 0.0, 1.0);
        Float y = b.y() + inset + (b.height() - length - 2 * inset) * share;
        Float x = b.maxX() - inset - thickness / 2;
        cairo_t* cr = context.cr;
        cairo_set_source_rgba(cr, 0.6, 0.6, 0.6, 0.8 * context.opacity);
        cairo_set_line_width(cr, thickness);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_move_to(cr, x, y + thickness / 2);
        cairo_line_to(cr, x, y + length - thickness / 2);
        cairo_stroke(cr);
    }

    std::string className() const override { return "TableScroller"; }

private:
    struct Sample {
        Float time, offset;
    };

    // Offset points per second at the moment the finger lifted; 0 when it rested before lifting.
    Float releaseSpeed() const {
        if (samples_.size() < 2 || RunLoop::main().now() - samples_.back().time > sampleWindow)
            return 0;
        Float elapsed = samples_.back().time - samples_.front().time;
        return elapsed > 0 ? (samples_.back().offset - samples_.front().offset) / elapsed : 0;
    }

    void glide(Float speed) {
        if (std::abs(speed) < slowest)
            return;
        speed_ = speed;
        lastStep_ = RunLoop::main().now();
        auto weak = std::weak_ptr<View>(weak_from_this());
        glide_ = Timer::scheduled(glideInterval, Timer::Repeats::Yes, [weak] {
            if (auto self = weak.lock())
                static_cast<Scroller*>(self.get())->glideStep();
        });
    }

    void glideStep() {
        Float now = RunLoop::main().now();
        Float elapsed = now - lastStep_;
        lastStep_ = now;
        Float most = maximumContentOffset().y;
        Float y = contentOffset().y + speed_ * elapsed;
        speed_ *= std::pow(decelerationPerMillisecond, elapsed * 1000);
        if (y <= 0 || y >= most || std::abs(speed_) < slowest)
            stopGliding();
        setContentOffset({contentOffset().x, std::clamp(y, 0.0, most)});
        table_.layOutRows();
    }

    TableView& table_;
    std::deque<Sample> samples_;
    TimerPtr glide_;
    Float speed_ = 0, lastStep_ = 0;
};

// ---- The letter index

class TableView::IndexStrip : public View {
public:
    static constexpr Float tallestSlot = 16;
    static constexpr Float endInset = 4;

    explicit IndexStrip(TableView& table) : table_(table) {}

    void setColors(const Color& letters, const Color& background) {
        letters_ = letters;
        background_ = background;
        setNeedsDisplay();
    }

    void setTitles(std::vector<std::string> titles) {
        titles_ = std::move(titles);
        setHidden(titles_.empty());
        setNeedsDisplay();
    }

    void touchesBegan(const TouchSet& touches) override {
        touched_ = true;
        setNeedsDisplay();
        jumpTo(touches);
    }
    void touchesMoved(const TouchSet& touches) override { jumpTo(touches); }
    void touchesEnded(const TouchSet&) override { release(); }
    void touchesCancelled(const TouchSet&) override { release(); }

    void draw(const DrawContext& context) override {
        cairo_t* cr = context.cr;
        if (!background_.isClear()) {
            setColor(cr, background_, context.opacity);
            cairo_rectangle(cr, 0, 0, bounds().width(), bounds().height());
            cairo_fill(cr);
        }
        if (touched_) {
            roundedRectangle(cr, Rect(2, 2, bounds().width() - 4, bounds().height() - 4), 10);
            cairo_set_source_rgba(cr, 0.5, 0.5, 0.5, 0.4 * context.opacity);
            cairo_fill(cr);
        }
        Float slot = slotHeight(), top = firstSlotTop();
        Color color = letters_;
        color.a *= context.opacity;
        for (std::size_t i = 0; i < titles_.size(); ++i)
            drawText(cr, titles_[i], {Font::boldSystem(12), color, TextAlignment::Center, 1},
                     Rect(0, top + slot * static_cast<Float>(i), bounds().width(), slot));
    }
    int layerCount() const override { return 2; }
    std::string className() const override { return "TableIndex"; }

private:
    Float slotHeight() const {
        Float room = std::max(bounds().height() - 2 * endInset, 0.0);
        return titles_.empty() ? 0 : std::min(tallestSlot, room / static_cast<Float>(titles_.size()));
    }
    Float firstSlotTop() const {
        return (bounds().height() - slotHeight() * static_cast<Float>(titles_.size())) / 2;
    }

    void jumpTo(const TouchSet& touches) {
        Float slot = slotHeight();
        if (slot <= 0)
            return;
        Float y = touches.anyObject().locationIn(this).y;
        int index = static_cast<int>(std::floor((y - firstSlotTop()) / slot));
        index = std::clamp(index, 0, static_cast<int>(titles_.size()) - 1);
        if (index != lastJump_) {
            lastJump_ = index;
            table_.jumpToIndexTitle(index);
        }
    }
    void release() {
        touched_ = false;
        lastJump_ = -1;
        setNeedsDisplay();
    }

    TableView& table_;
    std::vector<std::string> titles_;
    Color letters_ = indexGrey, background_ = Color::clear();
    bool touched_ = false;
    int lastJump_ = -1;
};

// ---- The table

TableView::TableView(const Rect& frame) : View(frame), indexColor_(indexGrey) {
    scroller_ = make<Scroller>(*this);
    addSubview(scroller_);
    strip_ = make<IndexStrip>(*this);
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
    scroller_->stopGliding();
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
