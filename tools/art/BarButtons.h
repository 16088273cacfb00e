#pragma once
// The bar buttons: small flat tiles with a glyph, 30 x 26 points, and the back button's arrow-shaped
// tab. The bottom bar's buttons also carry their name beside the glyph, and are as wide as it needs:
// the help pages set the "views" and "info" pictures at three quarters over the words "Views" and
// "Info" of their text, so those pictures must be wide enough to stand in for the words (and the info
// picture narrow enough to leave the "Press" before it). The pressed variant of each marks the button whose
// panel is open.

#include <cairo.h>

namespace art {

enum class Press { Resting, Pressed };
enum class BarGlyph { Info, Quiz, Help, Flag, Views, Magnifier, Index };

constexpr double barButtonWidth = 30, barButtonHeight = 26;
void drawBarButton(cairo_t* cr, BarGlyph glyph, Press press);

void drawCaptionedBarButton(cairo_t* cr, BarGlyph glyph, const char* caption, double width, Press press);

// The back tab surrounds the parent region's caption, a black label 68 x 14 points laid 5 points
// below the tab's top and 14 points right of its point, so the tab is a black shape with a light rim
// that shows around the caption.
constexpr double backButtonWidth = 86, backButtonHeight = 24;
void drawBackButton(cairo_t* cr, Press press);

} // namespace art
