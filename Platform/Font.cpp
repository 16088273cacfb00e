#include "Platform/Font.h"

#include "Platform/TextLayoutCache.h"

#include <algorithm>
#include <cmath>

namespace ui {

namespace {

PangoLayout* layoutFor(const std::string& text, const Font& font, Float wrapWidth, TextAlignment alignment,
                       Float lineSpacing = 0, int truncatedToLines = 0) {
    return TextLayoutCache::shared().layout(
        {text, font, wrapWidth, alignment, lineSpacing, truncatedToLines});
}

// Logical extents in points, relative to the layout's origin.
Rect logicalExtents(PangoLayout* layout) {
    PangoRectangle logical;
    pango_layout_get_extents(layout, nullptr, &logical);
    return {static_cast<Float>(logical.x) / PANGO_SCALE, static_cast<Float>(logical.y) / PANGO_SCALE,
            static_cast<Float>(logical.width) / PANGO_SCALE,
            static_cast<Float>(logical.height) / PANGO_SCALE};
}

// The bottom of line `count` (1-based), or of the last line when there are fewer, in points.
Float bottomOfLines(PangoLayout* layout, int count) {
    PangoLayoutIter* iter = pango_layout_get_iter(layout);
    for (int line = 1; line < count && pango_layout_iter_next_line(iter); ++line) {
    }
    int top = 0, bottom = 0;
    pango_layout_iter_get_line_yrange(iter, &top, &bottom);
    pango_layout_iter_free(iter);
    return static_cast<Float>(bottom) / PANGO_SCALE;
}

bool drawsNothing(const std::string& text, const TextStyle& style, const Rect& rect) {
    return text.empty() || style.font.size <= 0 || style.color.a <= 0 || rect.width() <= 0 ||
           rect.height() <= 0;
}

// Where a one-line text starts across: placed by the alignment; a line wider than the label starts
// at its left edge, as a label cuts off its end. Wrapped text is aligned by Pango within the width.
Float lineStartX(PangoLayout* layout, const TextStyle& style, const Rect& rect) {
    Float slack = rect.width() - logicalExtents(layout).width();
    if (slack > 0 && style.alignment == TextAlignment::Center)
        return rect.x() + slack / 2;
    if (slack > 0 && style.alignment == TextAlignment::Right)
        return rect.x() + slack;
    return rect.x();
}

bool centresVertically(const TextStyle& style) {
    switch (style.verticalAlignment) {
    case TextVerticalAlignment::Automatic:
        return style.numberOfLines == 1;
    case TextVerticalAlignment::Center:
        return true;
    case TextVerticalAlignment::Top:
        return false;
    }
    return false;
}

bool fitsInside(const Rect& inner, const Rect& outer) {
    return inner.minX() >= outer.minX() && inner.maxX() <= outer.maxX() && inner.minY() >= outer.minY() &&
           inner.maxY() <= outer.maxY();
}

// Clipping costs a mask unless the rectangle falls on whole pixels, so text that fits is not clipped.
void showLayout(cairo_t* cr, PangoLayout* layout, const TextStyle& style, Point origin, const Rect& clip) {
    cairo_save(cr);
    Rect extents = logicalExtents(layout);
    extents.origin = extents.origin + origin;
    if (!fitsInside(extents, clip)) {
        cairo_rectangle(cr, clip.x(), clip.y(), clip.width(), clip.height());
        cairo_clip(cr);
    }
    cairo_set_source_rgba(cr, style.color.r, style.color.g, style.color.b, style.color.a);
    cairo_move_to(cr, origin.x, origin.y);
    pango_cairo_show_layout(cr, layout);
    cairo_restore(cr);
}

} // namespace

Float textWidth(const std::string& text, const Font& font) {
    if (text.empty() || font.size <= 0)
        return 0;
    return std::ceil(logicalExtents(layoutFor(text, font, -1, TextAlignment::Left)).width());
}

Size textSize(const std::string& text, const Font& font, Float width, Float lineSpacing) {
    if (text.empty() || font.size <= 0)
        return {0, 0};
    Rect extents =
        logicalExtents(layoutFor(text, font, width > 0 ? width : -1, TextAlignment::Left, lineSpacing));
    return {std::ceil(extents.width()), std::ceil(extents.height())};
}

Rect textRangeRect(const std::string& text, const Font& font, Float width, Float lineSpacing,
                   std::size_t begin, std::size_t end) {
    if (text.empty() || font.size <= 0 || begin >= end || end > text.size())
        return {};
    PangoLayout* layout = layoutFor(text, font, width > 0 ? width : -1, TextAlignment::Left, lineSpacing);
    PangoRectangle first, last;
    pango_layout_index_to_pos(layout, static_cast<int>(begin), &first);
    pango_layout_index_to_pos(layout, static_cast<int>(end - 1), &last);
    int firstLine = 0, lastLine = 0, x = 0;
    pango_layout_index_to_line_x(layout, static_cast<int>(begin), FALSE, &firstLine, &x);
    pango_layout_index_to_line_x(layout, static_cast<int>(end - 1), FALSE, &lastLine, &x);
    int right = last.x + last.width;
    if (lastLine != firstLine) {
        PangoRectangle lineBox;
        pango_layout_line_get_extents(pango_layout_get_line_readonly(layout, firstLine), nullptr, &lineBox);
        right = std::max(first.x + first.width, lineBox.x + lineBox.width);
    }
    auto points = [](int units) { return static_cast<Float>(units) / PANGO_SCALE; };
    return {points(first.x), points(first.y), points(right - first.x), points(first.height)};
}

namespace {

// The lines of `layout` that fit the rectangle, at most `numberOfLines` (0 = no limit), at least one.
int linesThatFit(PangoLayout* layout, const TextStyle& style, const Rect& rect) {
    int lines = pango_layout_get_line_count(layout);
    int fitting = 0;
    while (fitting < lines && bottomOfLines(layout, fitting + 1) <= rect.height() + 0.01)
        ++fitting;
    fitting = std::max(fitting, 1);
    return style.numberOfLines > 0 ? std::min(style.numberOfLines, fitting) : fitting;
}

// The same text, ended with "…" after the whole lines that fit; null when the whole text fits.
PangoLayout* truncatedLayout(PangoLayout* layout, const std::string& text, const TextStyle& style,
                             const Rect& rect, bool oneLine) {
    if (oneLine) {
        // A line whose letters fit is shown whole, though its advance may end a little beyond.
        PangoRectangle ink;
        pango_layout_get_extents(layout, &ink, nullptr);
        bool fits = static_cast<Float>(ink.x + ink.width) / PANGO_SCALE <= rect.width() &&
                    pango_layout_get_line_count(layout) == 1;
        return fits ? nullptr : layoutFor(text, style.font, rect.width(), TextAlignment::Left, 0, 1);
    }
    int shown = linesThatFit(layout, style, rect);
    if (shown >= pango_layout_get_line_count(layout))
        return nullptr;
    return layoutFor(text, style.font, rect.width(), style.alignment, style.lineSpacing, shown);
}

} // namespace

void drawText(cairo_t* cr, const std::string& text, const TextStyle& style, const Rect& rect) {
    if (!cr || drawsNothing(text, style, rect))
        return;
    bool oneLine = style.numberOfLines == 1;
    PangoLayout* layout = oneLine
                              ? layoutFor(text, style.font, -1, TextAlignment::Left)
                              : layoutFor(text, style.font, rect.width(), style.alignment, style.lineSpacing);
    if (style.lineBreakMode == LineBreakMode::TruncateTail) {
        if (PangoLayout* truncated = truncatedLayout(layout, text, style, rect, oneLine))
            layout = truncated;
    }
    int lines = pango_layout_get_line_count(layout);
    int shown = style.numberOfLines > 0 ? std::min(style.numberOfLines, lines) : lines;
    Float height = bottomOfLines(layout, shown);
    Point origin{oneLine ? lineStartX(layout, style, rect) : rect.x(), rect.y()};
    if (centresVertically(style))
        origin.y += (rect.height() - height) / 2;
    // Lines past the limit, and whatever leaves the rectangle, are cut off.
    Float top = std::max(rect.y(), origin.y), bottom = std::min(rect.maxY(), origin.y + height);
    if (bottom > top)
        showLayout(cr, layout, style, origin, Rect(rect.x(), top, rect.width(), bottom - top));
}

Float lineHeight(const Font& font) {
    return font.size <= 0 ? 0 : TextLayoutCache::shared().lineHeight(font);
}

std::string fontFaceInUse(const Font& font) {
    return TextLayoutCache::shared().faceName(font);
}

} // namespace ui
