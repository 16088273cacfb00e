#pragma once
// Pictures laid over the anatomical picture: the hotspot ring, the flag pin, the bubble's info
// button and the hint arrows at the picture's edges.

#include "Shapes.h"

#include <cairo.h>

namespace art {

// Scaled from 0.2 to about 1 while it fades, so its stroke is bold enough to read when small.
constexpr double ringSize = 60;
void drawRing(cairo_t* cr);

// A flag button is centred 5 points right of and 10 points below the point it marks, so the pin's
// tip sits at (w/2 - 5, h/2 - 10) and the pin leans down and right from there, leaving the space
// above the point free for the bubble whose pointer comes down to it.
constexpr double flagWidth = 20, flagHeight = 28;
constexpr Pt flagTip{flagWidth / 2 - 5, flagHeight / 2 - 10};
void drawFlag(cairo_t* cr);

constexpr double infoButtonSize = 22;
void drawInfoButton(cairo_t* cr);

// Each hint arrow sits at the picture edge named and points into the picture, the way the finger
// pulls to turn the figure: at the right edge it points left (a swipe to the left is possible).
enum class Edge { Right, Left, Bottom, Top };
constexpr double hintLength = 60, hintDepth = 24;
void drawHintArrow(cairo_t* cr, Edge edge);

} // namespace art
