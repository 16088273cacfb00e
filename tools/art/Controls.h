#pragma once
// Controls that are not bar buttons: the scalpel, the background colour switch and the language
// tabs of the index.

#include "BarButtons.h"

#include <cairo.h>

namespace art {

// Shown at three quarters of its size over the picture, on a dark badge so it reads on any picture.
constexpr double scalpelSize = 60;
void drawScalpel(cairo_t* cr);

// The switch shows the colour it would change the background to.
enum class Swatch { White, Black };
constexpr double swatchSize = 24;
void drawSwatch(cairo_t* cr, Swatch swatch);

// Stretched to 131 (or 130) x 29 points with a white title over it.
constexpr double tabWidth = 131, tabHeight = 29;
void drawLanguageTab(cairo_t* cr, Press press);

} // namespace art
