#pragma once
// A frame as a list of cached layers to composite (LayerCache.h), built from the view tree as the
// screen shows it now: presentation values (so animations are seen mid-way), transforms about each
// view's centre, subviews back to front. The window composites the list on the graphics processor
// (GpuCompositor.h); headless runs and screenshots composite the same list with Cairo.
//
// A view with alpha below 1 becomes a group (drawn apart, then blended with its alpha) only when it
// shows more than one item (a background and content, or subviews); a single picture or text is
// blended with the alpha directly. Nothing is clipped unless a view clips.

#include "Platform/LayerCache.h"
#include "Platform/View.h"

#include <vector>

namespace ui {

struct CompositeItem {
    enum class Kind { Fill, Layer, PushClip, PopClip, PushGroup, PopGroup };
    // What a layer shows: the view's content, its overlay, or a finished picture (a flip's old face).
    enum class Source { Content, Overlay, Picture };
    Kind kind = Kind::Fill;
    // The view's bounds coordinates to screen points.
    AffineTransform toRoot;
    // Fill, Layer and PushClip: in bounds coordinates (a layer's surface is stretched over it);
    // PushGroup and PopGroup: the group's box in screen points.
    Rect rect;
    Color color; // Fill, its alpha already multiplied by the view's when it is not a group
    Float opacity = 1;
    LayerPtr layer;
    Source source = Source::Content;
    std::shared_ptr<View> view; // whose content it is, kept alive for the frame
};

struct Composition {
    std::vector<CompositeItem> items;
    Size screen;     // in points
    Float scale = 2; // pixels per point
    bool moving = false;
    // The number of Fill and Layer items.
    std::size_t drawnItems() const;
};

// Builds the frame of `root`'s tree for a screen of `screen` points at `scale` pixels per point, drawing
// the layers that are missing or stale. Ends the layer cache's frame.
Composition compose(View& root, Size screen, Float scale);

// Whether the layer `item` is painted through its transform at `scale` pixels per point (turned, scaled or
// between pixels), with a faster filter while the screen moves, rather than copied as it is.
bool isPaintedThroughTransform(const CompositeItem& item, Float scale);

class TransformedLayerCache;

// Paints `composition` into `cr`, whose user space is screen points. A layer that lands on whole pixels
// unscaled is copied as it is; one that is turned, scaled or between pixels is drawn afresh through its
// transform, so that pictures of moving views stay as sharp as a still screen's, or copied from
// `transformed` when given and it stayed where it was (TransformedLayerCache.h).
void paintComposition(cairo_t* cr, const Composition& composition,
                      TransformedLayerCache* transformed = nullptr);

} // namespace ui
