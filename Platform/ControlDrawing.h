#pragma once
// Shapes and fills that the switch, the text field, the search bar and the table share.

#include "Platform/Font.h"
#include "Platform/Geometry.h"

#include <cairo.h>

namespace ui {

void roundedRectangle(cairo_t* cr, const Rect& rect, Float radius);
// Sets `color` as the source with its alpha multiplied by `opacity`.
void setColor(cairo_t* cr, const Color& color, Float opacity);
// Sets a gradient from `top` to `bottom` over the height of `rect` as the source.
void setVerticalGradient(cairo_t* cr, const Rect& rect, const Color& top, const Color& bottom, Float opacity);
// `color` mixed with white (amount > 0) or black (amount < 0); alpha kept.
Color lighter(const Color& color, Float amount);

} // namespace ui
