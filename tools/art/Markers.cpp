#include "Markers.h"

#include <cmath>
#include <utility>

namespace art {

void drawRing(cairo_t* cr) {
    double c = ringSize / 2;
    for (auto [width, color] : {std::pair{7.5, palette::halo}, std::pair{5.0, palette::ring}}) {
        cairo_new_sub_path(cr);
        cairo_arc(cr, c, c, 25, 0, 2 * M_PI);
        cairo_set_line_width(cr, width);
        setColor(cr, color);
        cairo_stroke(cr);
    }
}

void drawFlag(cairo_t* cr) {
    Pt head{12.5, 18.5};
    pinPath(cr, flagTip, head, 6.5);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    fillWithEdge(cr, palette::ring, 1.5, palette::halo);
    cairo_arc(cr, head.x, head.y, 2.2, 0, 2 * M_PI);
    setColor(cr, palette::white);
    cairo_fill(cr);
}

void drawInfoButton(cairo_t* cr) {
    double c = infoButtonSize / 2;
    cairo_arc(cr, c, c, 10, 0, 2 * M_PI);
    fillWithEdge(cr, palette::accent, 1.5, palette::white);
    cairo_arc(cr, c, 6.6, 1.5, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_move_to(cr, c, 10);
    cairo_line_to(cr, c, 15.8);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, 2.8);
    cairo_stroke(cr);
}

namespace {

// Maps the arrow drawn for the right edge (24 x 60, pointing left) onto the other edges.
cairo_matrix_t edgeMatrix(Edge edge) {
    cairo_matrix_t m;
    switch (edge) {
    case Edge::Right:
        cairo_matrix_init_identity(&m);
        break;
    case Edge::Left:
        cairo_matrix_init(&m, -1, 0, 0, 1, hintDepth, 0);
        break;
    case Edge::Bottom:
        cairo_matrix_init(&m, 0, 1, 1, 0, 0, 0);
        break;
    case Edge::Top:
        cairo_matrix_init(&m, 0, -1, 1, 0, 0, hintDepth);
        break;
    }
    return m;
}

} // namespace

void drawHintArrow(cairo_t* cr, Edge edge) {
    cairo_matrix_t m = edgeMatrix(edge);
    cairo_save(cr);
    cairo_transform(cr, &m);
    const Pt chevron[] = {{16.5, 13}, {6.5, hintLength / 2}, {16.5, hintLength - 13}};
    haloStroke(cr, chevron, 3, 6, palette::accent, 9, palette::halo);
    cairo_restore(cr);
}

} // namespace art
