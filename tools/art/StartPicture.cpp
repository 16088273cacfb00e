#include "StartPicture.h"

#include "Shapes.h"

#include <cmath>
#include <vector>

namespace art {

namespace {

constexpr double figureX = 258;

// The right half of a standing figure, from the crown down the arm, the trunk and the leg to the
// crotch, as offsets from the figure's middle line.
const std::vector<Pt> halfFigure = {
    {0, 176},  {9, 178},  {14, 186}, {15, 196}, {13, 206}, {9, 214},  {7, 221},  {8, 228},  {18, 233},
    {32, 237}, {41, 243}, {45, 254}, {47, 272}, {49, 292}, {52, 314}, {55, 334}, {56, 344}, {52, 351},
    {47, 346}, {45, 334}, {42, 314}, {38, 292}, {35, 272}, {32, 261}, {29, 276}, {26, 296}, {28, 316},
    {32, 334}, {33, 350}, {31, 376}, {28, 400}, {27, 420}, {24, 444}, {23, 456}, {27, 463}, {22, 467},
    {13, 466}, {12, 458}, {12, 444}, {11, 420}, {10, 400}, {9, 376},  {6, 352},  {0, 343}};

std::vector<Pt> wholeFigure() {
    std::vector<Pt> points;
    for (const Pt& p : halfFigure)
        points.push_back({figureX + p.x, p.y});
    for (auto p = halfFigure.rbegin() + 1; p + 1 != halfFigure.rend(); ++p)
        points.push_back({figureX - p->x, p->y});
    return points;
}

// A closed smooth curve through every point (Catmull-Rom turned into Bezier segments).
void smoothClosedPath(cairo_t* cr, const std::vector<Pt>& points) {
    size_t n = points.size();
    cairo_move_to(cr, points[0].x, points[0].y);
    for (size_t i = 0; i < n; ++i) {
        const Pt& p0 = points[(i + n - 1) % n];
        const Pt& p1 = points[i];
        const Pt& p2 = points[(i + 1) % n];
        const Pt& p3 = points[(i + 2) % n];
        cairo_curve_to(cr, p1.x + (p2.x - p0.x) / 6, p1.y + (p2.y - p0.y) / 6, p2.x - (p3.x - p1.x) / 6,
                       p2.y - (p3.y - p1.y) / 6, p2.x, p2.y);
    }
    cairo_close_path(cr);
}

void drawBackground(cairo_t* cr) {
    cairo_pattern_t* sky = cairo_pattern_create_linear(0, 0, 0, startHeight);
    cairo_pattern_add_color_stop_rgb(sky, 0, 16 / 255.0, 26 / 255.0, 43 / 255.0);
    cairo_pattern_add_color_stop_rgb(sky, 1, 3 / 255.0, 5 / 255.0, 10 / 255.0);
    cairo_set_source(cr, sky);
    cairo_paint(cr);
    cairo_pattern_destroy(sky);

    cairo_pattern_t* glow = cairo_pattern_create_radial(figureX, 310, 0, figureX, 310, 170);
    Rgba a = palette::accent;
    cairo_pattern_add_color_stop_rgba(glow, 0, a.r, a.g, a.b, 0.16);
    cairo_pattern_add_color_stop_rgba(glow, 1, a.r, a.g, a.b, 0);
    cairo_set_source(cr, glow);
    cairo_paint(cr);
    cairo_pattern_destroy(glow);
}

void drawRib(cairo_t* cr, double side, double y) {
    cairo_move_to(cr, figureX + side * 3, y);
    cairo_curve_to(cr, figureX + side * 16, y - 2, figureX + side * 25, y + 4, figureX + side * 21, y + 13);
}

void drawSkeletonHints(cairo_t* cr) {
    setColor(cr, palette::accentLight.withAlpha(0.35));
    cairo_set_line_width(cr, 1.1);
    for (double y = 246; y <= 276; y += 9.5)
        for (double side : {-1.0, 1.0})
            drawRib(cr, side, y);
    cairo_stroke(cr);
    double dash[] = {2.2, 2.2};
    cairo_set_dash(cr, dash, 2, 0);
    cairo_move_to(cr, figureX, 228);
    cairo_line_to(cr, figureX, 326);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    cairo_set_dash(cr, nullptr, 0, 0);
    cairo_move_to(cr, figureX - 26, 318);
    cairo_curve_to(cr, figureX - 20, 344, figureX - 6, 334, figureX, 342);
    cairo_curve_to(cr, figureX + 6, 334, figureX + 20, 344, figureX + 26, 318);
    cairo_set_line_width(cr, 1.1);
    cairo_stroke(cr);
}

void drawHeart(cairo_t* cr, Pt c, double s) {
    cairo_move_to(cr, c.x, c.y + s);
    cairo_curve_to(cr, c.x - 1.3 * s, c.y + 0.1 * s, c.x - 0.9 * s, c.y - 0.9 * s, c.x, c.y - 0.35 * s);
    cairo_curve_to(cr, c.x + 0.9 * s, c.y - 0.9 * s, c.x + 1.3 * s, c.y + 0.1 * s, c.x, c.y + s);
    setColor(cr, palette::ring.withAlpha(0.85));
    cairo_fill(cr);
}

void drawFigure(cairo_t* cr) {
    smoothClosedPath(cr, wholeFigure());
    setColor(cr, palette::accent.withAlpha(0.10));
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, 1.3);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    setColor(cr, palette::accentLight.withAlpha(0.55));
    cairo_stroke(cr);

    drawSkeletonHints(cr);
    drawHeart(cr, {figureX + 7, 262}, 5.5);
}

void drawTitle(cairo_t* cr) {
    centredText(cr, "Torvex", "Nimbus Sans Bold 46", {160, 72}, palette::white, 3);
    centredText(cr, "INTERACTIVE ANATOMY ATLAS", "Nimbus Sans 10", {160, 110}, palette::accentLight, 2.2);
    strokeLine(cr, {136, 124}, {184, 124}, 1.5, palette::ring);
}

} // namespace

void drawStartPicture(cairo_t* cr) {
    drawBackground(cr);
    drawFigure(cr);
    drawTitle(cr);
}

} // namespace art
