#include "Bubbles.h"

#include "ArtCanvas.h"
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

// The sheet is cut from one bubble as wide as the sheet with its pointer in the middle, copied
// pixel for pixel, so the pieces meet without a seam however they are put together.
void paintModel(cairo_t* cr, const ArtCanvas& model) {
    cairo_scale(cr, 0.5, 0.5);
    cairo_set_source_surface(cr, model.surface(), 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    cairo_paint(cr);
}

void drawSheetEnds(cairo_t* cr, const ArtCanvas& model) {
    cairo_save(cr);
    cairo_rectangle(cr, 0, 0, 26, bubbleHeight);
    cairo_rectangle(cr, 100, 0, 34, bubbleHeight);
    cairo_clip(cr);
    paintModel(cr, model);
    cairo_restore(cr);
}

// The slice x 60..84 holds the model's columns 55..79 turned by half a revolution:
// sheet x = 139 - model x, sheet y = 58 - model y.
void drawSheetPointer(cairo_t* cr, const ArtCanvas& model) {
    cairo_save(cr);
    cairo_rectangle(cr, 60, 0, 24, bubbleHeight);
    cairo_clip(cr);
    cairo_translate(cr, 84, bubbleHeight);
    cairo_rotate(cr, M_PI);
    cairo_translate(cr, -55, 0);
    paintModel(cr, model);
    cairo_restore(cr);
}

} // namespace

void drawLabelBubbleSheet(cairo_t* cr) {
    ArtCanvas model(labelBubbleWidth, bubbleHeight);
    fillAndEdgeBubble(model.cr(), pointedBubble(0.75, labelBubbleWidth - 0.75, labelBubbleWidth / 2));
    drawSheetEnds(cr, model);
    drawSheetPointer(cr, model);
}

void drawBubbleLeft(cairo_t* cr) {
    fillAndEdgeBubble(cr, pointedBubble(0.75, bubbleLeftWidth - 0.75, bubbleLeftPointer));
}

void drawBubbleRight(cairo_t* cr) {
    fillAndEdgeBubble(cr, pointedBubble(0.75, bubbleRightWidth - 0.75, bubbleRightPointer));
}

void drawPanel(cairo_t* cr) {
    roundedRectPath(cr, 0.75, 0.75, panelWidth - 1.5, panelHeight - 1.5, 10);
    fillWithEdge(cr, palette::panel, 1.5, palette::panelEdge);
}

} // namespace art
