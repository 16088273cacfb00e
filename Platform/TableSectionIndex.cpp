#include "Platform/TableSectionIndex.h"

#include "Platform/ControlDrawing.h"

#include <algorithm>
#include <cmath>

namespace ui {

TableSectionIndex::TableSectionIndex(std::function<void(int index)> onJump) : onJump_(std::move(onJump)) {}

void TableSectionIndex::setColors(const Color& letters, const Color& background) {
    letters_ = letters;
    background_ = background;
    setNeedsDisplay();
}

void TableSectionIndex::setTitles(std::vector<std::string> titles) {
    titles_ = std::move(titles);
    setHidden(titles_.empty());
    setNeedsDisplay();
}

void TableSectionIndex::touchesBegan(const TouchSet& touches) {
    touched_ = true;
    setNeedsDisplay();
    jumpTo(touches);
}

void TableSectionIndex::draw(const DrawContext& context) {
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

Float TableSectionIndex::slotHeight() const {
    Float room = std::max(bounds().height() - 2 * endInset, 0.0);
    return titles_.empty() ? 0 : std::min(tallestSlot, room / static_cast<Float>(titles_.size()));
}

Float TableSectionIndex::firstSlotTop() const {
    return (bounds().height() - slotHeight() * static_cast<Float>(titles_.size())) / 2;
}

void TableSectionIndex::jumpTo(const TouchSet& touches) {
    Float slot = slotHeight();
    if (slot <= 0)
        return;
    Float y = touches.anyObject().locationIn(this).y;
    int index = static_cast<int>(std::floor((y - firstSlotTop()) / slot));
    index = std::clamp(index, 0, static_cast<int>(titles_.size()) - 1);
    if (index != lastJump_) {
        lastJump_ = index;
        onJump_(index);
    }
}

void TableSectionIndex::release() {
    touched_ = false;
    lastJump_ = -1;
    setNeedsDisplay();
}

} // namespace ui
