#pragma once
// Paths and strokes shared by several pictures, all in points.

#include "Palette.h"

#include <cairo.h>
#include <memory>
#include <optional>
#include <pango/pangocairo.h>
#include <string>

namespace art {

struct Pt {
    double x, y;
};

void roundedRectPath(cairo_t* cr, double x, double y, double w, double h, double radius);

// A label bubble: a rounded body between `left` and `right`, from `top` to `bottom`, and, when
// `pointerTipX` is given, a pointer hanging from the body's bottom edge down to `pointerTipY`.
struct BubbleShape {
    double left = 0, right = 0, top = 0, bottom = 0;
    double radius = 10;
    std::optional<double> pointerTipX;
    double pointerTipY = 56.5;
    double pointerHalfWidth = 9;
};
void bubblePath(cairo_t* cr, const BubbleShape& shape);
// The bubbles' look: dark translucent fill, thin light edge.
void fillAndEdgeBubble(cairo_t* cr, const BubbleShape& shape);

// The pin of a flag: a drop whose point is at `tip` and whose round head (radius `r`) is centred at
// `head`.
void pinPath(cairo_t* cr, Pt tip, Pt head, double r);

// Fills the current path with `fill` and strokes it `edgeWidth` wide in `edge`, with the context's line
// join.
void fillWithEdge(cairo_t* cr, Rgba fill, double edgeWidth, Rgba edge);

// A straight stroke with round ends.
void strokeLine(cairo_t* cr, Pt from, Pt to, double width, Rgba color);

// A polyline through `points` with round ends, drawn twice: a wider halo below the colour, so the
// stroke stays visible on any background.
void haloStroke(cairo_t* cr, const Pt* points, int count, double width, Rgba color, double haloWidth,
                Rgba halo);

// A Pango layout for `cr` whose font sizes are in the context's units (points), not in pixels at
// a screen resolution, and whose metrics are not rounded to whole units.
using LayoutPtr = std::unique_ptr<PangoLayout, decltype(&g_object_unref)>;
LayoutPtr pointLayout(cairo_t* cr);

// One line of text in Nimbus Sans centred on `center`. `font` is a Pango description such as
// "Nimbus Sans Bold 12".
void centredText(cairo_t* cr, const std::string& text, const std::string& font, Pt center, Rgba color,
                 double letterSpacing = 0);

// One line of text whose line box (not its ink) is centred on `center`, as a label sets it.
void labelText(cairo_t* cr, const std::string& text, const std::string& font, Pt center, Rgba color);

// The advance width of one line of `text` in `font`.
double textWidth(cairo_t* cr, const std::string& text, const std::string& font);

} // namespace art
