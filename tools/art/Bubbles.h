#pragma once
// Label bubbles and the panel picture. A bubble is 58 points high: a rounded body from y 1 to 41
// holding two lines of white text, and a pointer below it whose tip is at y 56.5.

#include <cairo.h>

namespace art {

constexpr double bubbleHeight = 58;

// The sprite sheet the centred bubble is cut from, 134 points wide: the left end (x 0, width 26),
// the pointer (x 60, width 24) and the right end (x 100, width 34). The pointer slice is composed
// turned half a revolution, so it is kept upside down here.
constexpr double labelBubbleWidth = 134;
void drawLabelBubbleSheet(cairo_t* cr);

// Whole bubbles stretched at x 65 (left cap 65, top cap 25) for a flag near the left or the right
// screen edge. The left one's pointer is 30 points from its left end; the right one's is 31 points
// from its right end, inside its right cap.
constexpr double bubbleLeftWidth = 78, bubbleLeftPointer = 30;
constexpr double bubbleRightWidth = 108, bubbleRightPointer = bubbleRightWidth - 31;
void drawBubbleLeft(cairo_t* cr);
void drawBubbleRight(cairo_t* cr);

// The panel background, stretched with caps 17 x 21: its corners lie inside the caps.
constexpr double panelWidth = 40, panelHeight = 46;
void drawPanel(cairo_t* cr);

} // namespace art
