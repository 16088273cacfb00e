#include "Bubbles.h"

#include "Shapes.h"

#include <cmath>

namespace art {

namespace {

constexpr double bodyTop = 1, bodyBottom = 41;

BubbleShape bubbleBody(double left, double right) {
    BubbleShape shape;
    shape.left = left;
    shape.right = right;
    shape.top = bodyTop;
    shape.bottom = bodyBottom;
    return shape;
}

BubbleShape pointedBubble(double left, double right, double tip) {
    BubbleShape shape = bubbleBody(left, right);
    shape.pointerTipX = tip;
    return shape;
}

void drawSheetEnds(cairo_t* cr) {
    cairo_save(cr);
    cairo_rectangle(cr, 0, 0, 26, bubbleHeight);
    cairo_rectangle(cr, 100, 0, 34, bubbleHeight);
    cairo_clip(cr);
    fillAndEdgeBubble(cr, bubbleBody(0.75, labelBubbleWidth - 0.75));
    cairo_restore(cr);
}

// The slice x 60..84 shows a bubble whose pointer is at its middle, turned by half a revolution:
// sheet x = 139 - bubble x, sheet y = 58 - bubble y.
void drawSheetPointer(cairo_t* cr) {
    cairo_save(cr);
    cairo_rectangle(cr, 60, 0, 24, bubbleHeight);
    cairo_clip(cr);
    cairo_translate(cr, 84, bubbleHeight);
    cairo_rotate(cr, M_PI);
    cairo_translate(cr, -55, 0);
    fillAndEdgeBubble(cr, pointedBubble(-40, 110, 67));
    cairo_restore(cr);
}

} // namespace

void drawLabelBubbleSheet(cairo_t* cr) {
    drawSheetEnds(cr);
    drawSheetPointer(cr);
}

void drawBubbleLeft(cairo_t* cr) {
    fillAndEdgeBubble(cr, pointedBubble(0.75, bubbleLeftWidth - 0.75, bubbleLeftPointer));
}

void drawBubbleRight(cairo_t* cr) {
    fillAndEdgeBubble(cr, pointedBubble(0.75, bubbleRightWidth - 0.75, bubbleRightPointer));
}

void drawPanel(cairo_t* cr) {
    roundedRectPath(cr, 0.75, 0.75, panelWidth - 1.5, panelHeight - 1.5, 10);
    setColor(cr, palette::panel);
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, 1.5);
    setColor(cr, palette::panelEdge);
    cairo_stroke(cr);
}

} // namespace art
