#include "Platform/TableViewCell.h"

#include "Platform/ControlDrawing.h"

#include <algorithm>

namespace ui {

namespace {

const Color selectionTop = {0.02, 0.55, 0.96, 1};
const Color selectionBottom = {0.00, 0.36, 0.90, 1};
const Color separatorGrey = {0.55, 0.55, 0.55, 0.55};
const Color chevronGrey = {0.60, 0.60, 0.60, 1};

constexpr Float cellTextInset = 10;
constexpr Float accessoryRoom = 30;

} // namespace

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

} // namespace ui
