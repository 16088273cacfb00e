#pragma once
// The start picture, drawn for the 320 x 480-point screen: the title at the top and a quiet
// anatomical figure on the right. The status line (100, 139, 140, 20) and the column of link
// titles from (37, 240) downwards, white on this picture, are kept dark and empty.

#include <cairo.h>

namespace art {

constexpr double startWidth = 320, startHeight = 480;
void drawStartPicture(cairo_t* cr);

} // namespace art
