#include "Controls.h"

#include "Shapes.h"

#include <cmath>

namespace art {

namespace {

// The blade in a frame whose x axis runs from the handle to the tip; its back edge is straight and
// its cutting edge bulges towards +y.
void drawBlade(cairo_t* cr) {
    cairo_move_to(cr, -1, -2.6);
    cairo_line_to(cr, 17.5, -2.6);
    cairo_line_to(cr, 20, -2.2);
    cairo_curve_to(cr, 16, 4.8, 6, 5.2, -1, 3.2);
    cairo_close_path(cr);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    fillWithEdge(cr, palette::steel, 0.8, palette::mid);
}

} // namespace

void drawScalpel(cairo_t* cr) {
    double c = scalpelSize / 2;
    cairo_arc(cr, c, c, 27, 0, 2 * M_PI);
    fillWithEdge(cr, palette::panel, 1.5, palette::panelEdge);
    strokeLine(cr, {14.5, 45.5}, {29, 31}, 6, palette::accent);
    cairo_save(cr);
    cairo_translate(cr, 30, 30);
    cairo_rotate(cr, -M_PI / 4);
    drawBlade(cr);
    cairo_rectangle(cr, -3, -3.2, 3, 6.4);
    setColor(cr, palette::mid);
    cairo_fill(cr);
    cairo_restore(cr);
}

void drawSwatch(cairo_t* cr, Swatch swatch) {
    double c = swatchSize / 2;
    cairo_arc(cr, c, c, 10, 0, 2 * M_PI);
    fillWithEdge(cr, swatch == Swatch::White ? palette::white : palette::black, 2, palette::mid);
}

void drawLanguageTab(cairo_t* cr, Press press) {
    double left = 0.5, top = 0.5, right = tabWidth - 0.5, bottom = tabHeight, r = 6;
    cairo_move_to(cr, left, bottom);
    cairo_arc(cr, left + r, top + r, r, M_PI, 3 * M_PI / 2);
    cairo_arc(cr, right - r, top + r, r, -M_PI / 2, 0);
    cairo_line_to(cr, right, bottom);
    bool pressed = press == Press::Pressed;
    fillWithEdge(cr, pressed ? palette::accent : palette::tile, 1,
                 pressed ? palette::accentLight : palette::tileEdge);
}

} // namespace art
