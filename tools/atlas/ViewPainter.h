#pragma once
// Draws one view's picture: the body's silhouette, the artwork's outline drawing and the view's shapes,
// bottom to top, each in its colour with a darker rim. Keeps every shape's coverage and the part of it
// left visible by the shapes above, for placing flags and measuring hit areas.

#include "Artwork.h"
#include "AtlasSource.h"
#include "Mask.h"
#include "ViewFrame.h"

#include <map>
#include <string>
#include <vector>

namespace atlas {

struct DrawnShape {
    ShapeUse use;
    Mask coverage; // as drawn (moved apart in an exploded view)
    Mask visible;  // what the shapes drawn above leave of it
};

struct ViewPicture {
    ViewFrame frame;
    Box clip;                                                 // the part of the picture drawn into, in pixels
    Mask::SurfacePtr picture{nullptr, cairo_surface_destroy}; // ARGB32, frame-sized
    std::vector<DrawnShape> shapes;
    std::map<std::string, Pixel> shifts; // how far an exploded view moved each shape
};

// The frame a plain view is drawn in: its window, or a window around its shapes (or those it names)
// with its margin.
ViewFrame frameOf(const Artwork& artwork, const ViewSource& view);
// How far an exploded view moves each of its shapes, in artwork units: away from the middle of the
// shapes it fits around, by its explode factor times the shape's own distance from there.
std::map<std::string, std::pair<double, double>> explodeShifts(const Artwork& artwork,
                                                               const ViewSource& view);
// The style a view is drawn in; the default style when it names none.
Style styleOf(const AtlasSource& atlas, const ViewSource& view);

ViewPicture paintView(const AtlasSource& atlas, const Artwork& artwork, const ViewSource& view);

} // namespace atlas
