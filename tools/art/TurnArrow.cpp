#include "TurnArrow.h"

#include "Shapes.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace art {

namespace {

// The ring around the figure, seen slightly from above; angles grow from its right end through
// its near (lower) side to its left end.
constexpr Pt ringCentre{160, 200};
constexpr double ringRx = 128, ringRy = 50;
constexpr double arcStart = 0.08 * M_PI, arcEnd = 0.92 * M_PI;
constexpr int growingFrames = 10, fadingFrom = 12;
constexpr double headLength = 26, headHalfWidth = 15;

Pt ringPoint(double a) {
    return {ringCentre.x + ringRx * std::cos(a), ringCentre.y + ringRy * std::sin(a)};
}

Pt unitTangent(double a) {
    double dx = -ringRx * std::sin(a), dy = ringRy * std::cos(a);
    double n = std::hypot(dx, dy);
    return {dx / n, dy / n};
}

// Wider on the near side, so the band reads as going round the figure.
double bandWidth(double a) {
    return 5 + 9 * std::sin(a);
}

void arrowOutline(cairo_t* cr, double head) {
    constexpr int steps = 64;
    std::vector<Pt> outer, inner;
    for (int i = 0; i <= steps; ++i) {
        double a = arcStart + (head - arcStart) * i / steps;
        Pt p = ringPoint(a), t = unitTangent(a);
        double half = bandWidth(a) / 2;
        outer.push_back({p.x - t.y * half, p.y + t.x * half});
        inner.push_back({p.x + t.y * half, p.y - t.x * half});
    }
    Pt tip = ringPoint(head), t = unitTangent(head);
    cairo_move_to(cr, outer.front().x, outer.front().y);
    for (const Pt& p : outer)
        cairo_line_to(cr, p.x, p.y);
    cairo_line_to(cr, tip.x - t.y * headHalfWidth, tip.y + t.x * headHalfWidth);
    cairo_line_to(cr, tip.x + t.x * headLength, tip.y + t.y * headLength);
    cairo_line_to(cr, tip.x + t.y * headHalfWidth, tip.y - t.x * headHalfWidth);
    for (auto p = inner.rbegin(); p != inner.rend(); ++p)
        cairo_line_to(cr, p->x, p->y);
    cairo_close_path(cr);
}

double growth(int frame) {
    double x = std::min(1.0, double(frame) / growingFrames);
    return 1 - (1 - x) * (1 - x);
}

double opacity(int frame) {
    return frame < fadingFrom ? 1.0 : double(turnArrowFrames - frame) / (turnArrowFrames - fadingFrom + 1);
}

} // namespace

void drawTurnArrowFrame(cairo_t* cr, int frame) {
    double alpha = opacity(frame);
    if (alpha <= 0)
        return;
    cairo_push_group(cr);
    arrowOutline(cr, arcStart + (arcEnd - arcStart) * growth(frame));
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_width(cr, 3);
    setColor(cr, palette::halo);
    cairo_stroke_preserve(cr);
    setColor(cr, palette::accent);
    cairo_fill(cr);
    cairo_pop_group_to_source(cr);
    cairo_paint_with_alpha(cr, alpha);
}

} // namespace art
