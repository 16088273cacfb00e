#include "Platform/TableScroller.h"

#include <algorithm>

namespace ui {

TableScroller::TableScroller(std::function<void()> onScroll) : onScroll_(std::move(onScroll)) {
    setShowsHorizontalScrollIndicator(false);
}

void TableScroller::drawOverlay(const DrawContext& context) {
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

} // namespace ui
