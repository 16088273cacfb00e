#include "Platform/Font.h"

#include "Platform/TextLayoutCache.h"

#include <cmath>

namespace ui {

namespace {

PangoLayout* layoutFor(const std::string& text, const Font& font, Float wrapWidth, TextAlignment alignment) {
    return TextLayoutCache::shared().layout({text, font, wrapWidth, alignment});
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

// Where the first line of a one-line label starts: centred vertically, placed horizontally by the
// alignment; a line wider than the label starts at its left edge, as a label cuts off its end.
Point singleLineOrigin(PangoLayout* layout, const TextStyle& style, const Rect& rect) {
    Float lineHeight = bottomOfLines(layout, 1);
    Float width = logicalExtents(layout).width();
    Float slack = rect.width() - width;
    Float x = rect.x();
    if (slack > 0 && style.alignment == TextAlignment::Center)
        x += slack / 2;
    else if (slack > 0 && style.alignment == TextAlignment::Right)
        x += slack;
    return {x, rect.y() + (rect.height() - lineHeight) / 2};
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

Size textSize(const std::string& text, const Font& font, Float width) {
    if (text.empty() || font.size <= 0)
        return {0, 0};
    Rect extents = logicalExtents(layoutFor(text, font, width > 0 ? width : -1, TextAlignment::Left));
    return {std::ceil(extents.width()), std::ceil(extents.height())};
}

void drawText(cairo_t* cr, const std::string& text, const TextStyle& style, const Rect& rect) {
    if (!cr || drawsNothing(text, style, rect))
        return;
    if (style.numberOfLines == 1) {
        PangoLayout* layout = layoutFor(text, style.font, -1, TextAlignment::Left);
        showLayout(cr, layout, style, singleLineOrigin(layout, style, rect), rect);
        return;
    }
    PangoLayout* layout = layoutFor(text, style.font, rect.width(), style.alignment);
    int lines = pango_layout_get_line_count(layout);
    int shown = style.numberOfLines > 0 ? std::min(style.numberOfLines, lines) : lines;
    Float height = bottomOfLines(layout, shown);
    Point origin = rect.origin;
    if (centresVertically(style))
        origin.y += (rect.height() - height) / 2;
    Rect clip(rect.x(), std::max(rect.y(), origin.y), rect.width(),
              std::min(rect.maxY(), origin.y + height) - std::max(rect.y(), origin.y));
    if (clip.height() > 0)
        showLayout(cr, layout, style, origin, clip);
}

std::string fontFaceInUse(const Font& font) {
    return TextLayoutCache::shared().faceName(font);
}

} // namespace ui
