#pragma once
// The turning arrow, played as 15 frames over the whole picture area (320 x 420 points, stretched
// to the arrow's frame). Unturned it shows the figure turning to its own right: an arc along the
// near side of a ring around the figure, growing from the right to the left with its head in
// front. The viewer turns and stretches the frames for the other directions. The animation leaves
// its last frame on screen, so that frame is empty.

#include <cairo.h>

namespace art {

constexpr int turnArrowFrames = 15;
constexpr double turnArrowWidth = 320, turnArrowHeight = 420;
void drawTurnArrowFrame(cairo_t* cr, int frame);

} // namespace art
