#include "BarButtons.h"

#include "Palette.h"
#include "Shapes.h"

#include <cmath>

namespace art {

namespace {

struct Look {
    Rgba face, edge, glyph, cutout;
};

Look lookFor(Press press) {
    if (press == Press::Pressed)
        return {palette::accent, palette::accentLight, palette::white, palette::accent};
    return {palette::tile, palette::tileEdge, palette::ink, palette::tile};
}

void strokeCircle(cairo_t* cr, Pt c, double r, double width, Rgba color) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, c.x, c.y, r, 0, 2 * M_PI);
    cairo_set_line_width(cr, width);
    setColor(cr, color);
    cairo_stroke(cr);
}

void fillCircle(cairo_t* cr, Pt c, double r, Rgba color) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, c.x, c.y, r, 0, 2 * M_PI);
    setColor(cr, color);
    cairo_fill(cr);
}

void drawInfoGlyph(cairo_t* cr, const Look& look) {
    strokeCircle(cr, {15, 13}, 7.5, 1.8, look.glyph);
    fillCircle(cr, {15, 9.4}, 1.3, look.glyph);
    strokeLine(cr, {15, 12.2}, {15, 17}, 2.2, look.glyph);
}

void drawHelpGlyph(cairo_t* cr, const Look& look) {
    strokeCircle(cr, {15, 13}, 7.5, 1.8, look.glyph);
    centredText(cr, "?", "Nimbus Sans Bold 10", {15, 13}, look.glyph);
}

void drawQuizGlyph(cairo_t* cr, const Look& look) {
    for (int row = 0; row < 3; ++row) {
        double y = 7.5 + 5.5 * row;
        if (row < 2) {
            cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
            cairo_move_to(cr, 7.6, y);
            cairo_line_to(cr, 9.4, y + 1.9);
            cairo_line_to(cr, 12.6, y - 2.1);
            cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
            cairo_set_line_width(cr, 1.7);
            setColor(cr, look.glyph);
            cairo_stroke(cr);
        } else {
            cairo_rectangle(cr, 8, y - 2, 4, 4);
            cairo_set_line_width(cr, 1.3);
            setColor(cr, look.glyph);
            cairo_stroke(cr);
        }
        strokeLine(cr, {15.5, y}, {22.5, y}, 1.8, look.glyph);
    }
}

void drawFlagGlyph(cairo_t* cr, const Look& look) {
    pinPath(cr, {10, 5.5}, {17, 15}, 5.2);
    setColor(cr, look.glyph);
    cairo_fill(cr);
    fillCircle(cr, {17, 15}, 1.9, look.cutout);
}

void drawViewsGlyph(cairo_t* cr, const Look& look) {
    cairo_set_line_width(cr, 1.5);
    setColor(cr, look.glyph);
    roundedRectPath(cr, 14.5, 4.5, 9, 12, 1.5);
    cairo_stroke(cr);
    roundedRectPath(cr, 11.5, 6.5, 9, 12, 1.5);
    setColor(cr, look.face);
    cairo_fill_preserve(cr);
    setColor(cr, look.glyph);
    cairo_stroke(cr);
    roundedRectPath(cr, 7.5, 9, 10, 13, 1.5);
    cairo_fill(cr);
    fillCircle(cr, {12.5, 12.6}, 1.4, look.cutout);
    strokeLine(cr, {12.5, 14.8}, {12.5, 19.2}, 1.7, look.cutout);
}

void drawMagnifierGlyph(cairo_t* cr, const Look& look) {
    strokeCircle(cr, {13, 11.5}, 5.6, 2, look.glyph);
    strokeLine(cr, {17.2, 15.7}, {21.8, 20.3}, 3, look.glyph);
    strokeLine(cr, {10.6, 11.5}, {15.4, 11.5}, 1.5, look.glyph);
    strokeLine(cr, {13, 9.1}, {13, 13.9}, 1.5, look.glyph);
}

void drawIndexGlyph(cairo_t* cr, const Look& look) {
    centredText(cr, "A", "Nimbus Sans Bold 6.5", {9.5, 8.6}, look.glyph);
    centredText(cr, "Z", "Nimbus Sans Bold 6.5", {9.5, 17.6}, look.glyph);
    for (int row = 0; row < 4; ++row) {
        double y = 6.8 + 4 * row;
        strokeLine(cr, {14.5, y}, {22.5, y}, 1.6, look.glyph);
    }
}

void drawGlyph(cairo_t* cr, BarGlyph glyph, const Look& look) {
    switch (glyph) {
    case BarGlyph::Info:
        return drawInfoGlyph(cr, look);
    case BarGlyph::Quiz:
        return drawQuizGlyph(cr, look);
    case BarGlyph::Help:
        return drawHelpGlyph(cr, look);
    case BarGlyph::Flag:
        return drawFlagGlyph(cr, look);
    case BarGlyph::Views:
        return drawViewsGlyph(cr, look);
    case BarGlyph::Magnifier:
        return drawMagnifierGlyph(cr, look);
    case BarGlyph::Index:
        return drawIndexGlyph(cr, look);
    }
}

void drawTile(cairo_t* cr, double width, const Look& look) {
    roundedRectPath(cr, 0.75, 0.75, width - 1.5, barButtonHeight - 1.5, 6);
    setColor(cr, look.face);
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, 1);
    setColor(cr, look.edge);
    cairo_stroke(cr);
}

} // namespace

void drawBarButton(cairo_t* cr, BarGlyph glyph, Press press) {
    Look look = lookFor(press);
    drawTile(cr, barButtonWidth, look);
    drawGlyph(cr, glyph, look);
}

// The glyph keeps its place in the first 30 points, pulled in by 3 so that the caption has room.
void drawCaptionedBarButton(cairo_t* cr, BarGlyph glyph, const char* caption, double width, Press press) {
    Look look = lookFor(press);
    drawTile(cr, width, look);
    cairo_save(cr);
    cairo_translate(cr, -2, 0);
    drawGlyph(cr, glyph, look);
    cairo_restore(cr);
    centredText(cr, caption, "Nimbus Sans Bold 9", {(barButtonWidth - 3 + width - 3) / 2, 13}, look.glyph);
}

void drawBackButton(cairo_t* cr, Press press) {
    double top = 2, bottom = 22, right = 84.5, corner = 5;
    cairo_move_to(cr, 1.5, 12);
    cairo_line_to(cr, 12, top);
    cairo_arc(cr, right - corner, top + corner, corner, -M_PI / 2, 0);
    cairo_arc(cr, right - corner, bottom - corner, corner, 0, M_PI / 2);
    cairo_line_to(cr, 12, bottom);
    cairo_close_path(cr);
    bool pressed = press == Press::Pressed;
    setColor(cr, pressed ? palette::accent : palette::black);
    cairo_fill_preserve(cr);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_width(cr, 1.5);
    setColor(cr, pressed ? palette::accentLight : palette::rim);
    cairo_stroke(cr);
}

} // namespace art
