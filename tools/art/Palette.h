#pragma once
// The one palette of the program's artwork. Every picture sits on black or on white (or on an
// anatomical picture), so each colour that carries meaning is either dark with a light edge or
// light with a dark edge.

#include <cairo.h>

namespace art {

struct Rgba {
    double r, g, b, a = 1;
    constexpr Rgba withAlpha(double alpha) const { return {r, g, b, alpha}; }
};

constexpr Rgba rgb255(int r, int g, int b) {
    return {r / 255.0, g / 255.0, b / 255.0, 1};
}

namespace palette {
constexpr Rgba ink = rgb255(233, 238, 245);    // glyphs and light text
constexpr Rgba tile = rgb255(31, 39, 50);      // resting bar-button tile
constexpr Rgba tileEdge = rgb255(70, 83, 102); // its thin edge
constexpr Rgba accent = rgb255(47, 124, 246);  // selection, hints, turning arrow
constexpr Rgba accentLight = rgb255(141, 184, 255);
constexpr Rgba ring = rgb255(229, 50, 59);    // hotspot ring and pins
constexpr Rgba steel = rgb255(201, 210, 220); // the scalpel's blade
constexpr Rgba mid = rgb255(125, 136, 150);   // edges that must show on black and on white
constexpr Rgba rim = rgb255(174, 184, 196);   // the light edge of black controls
constexpr Rgba panel = Rgba{14 / 255.0, 18 / 255.0, 24 / 255.0, 0.86};
constexpr Rgba panelEdge = Rgba{214 / 255.0, 222 / 255.0, 232 / 255.0, 0.9};
constexpr Rgba halo = Rgba{1, 1, 1, 0.9}; // keeps coloured shapes apart from busy pictures
constexpr Rgba white = Rgba{1, 1, 1, 1};
constexpr Rgba black = Rgba{0, 0, 0, 1};
} // namespace palette

inline void setColor(cairo_t* cr, Rgba c) {
    cairo_set_source_rgba(cr, c.r, c.g, c.b, c.a);
}

} // namespace art
