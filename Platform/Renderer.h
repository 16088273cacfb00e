#pragma once
// The headless screen: composites a view tree's cached layers with Cairo (Compositor.h) into a frame.
//
// Snapshots (a flip's old face) draw a view's content directly instead, by the same rules: presentation
// values, transforms about each view's centre, subviews back to front, a view with alpha below 1 drawn
// as a group only when it paints more than one layer (a background and content, or subviews).

#include "Platform/FrameDamage.h"
#include "Platform/Image.h"
#include "Platform/TransformedLayerCache.h"
#include "Platform/View.h"

#include <memory>

namespace ui {

struct Composition;

class Renderer {
public:
    // A screen of `size` points at `scale` pixels per point, drawn into a frame of its own, or into `target`
    // when given (an image surface of the screen's pixel size, ARGB32 or RGB24: the window's own pixels).
    explicit Renderer(Size size, Float scale = 2, std::shared_ptr<cairo_surface_t> target = nullptr);

    // Draws the tree of `root` on black and returns the frame (ARGB32, valid until the next render).
    cairo_surface_t* render(View& root);
    // Paints a frame built already (compose) the same way.
    cairo_surface_t* render(const Composition& composition);
    // Paints `composition` over the frame rendered last, only where it changes that frame (FrameDamage.h),
    // so that the frame then equals a full render. Returns the box of pixels painted: the whole frame the
    // first time, empty when nothing changed.
    Rect renderChanges(const Composition& composition);
    // Whether turned and scaled layers that stay where they are are copied from frame to frame rather than
    // painted afresh (TransformedLayerCache.h): faster, but not always to the last bit the same picture.
    void setKeepsTransformedLayers(bool keep);
    cairo_surface_t* surface() const { return surface_.get(); }
    Size size() const { return size_; }
    Float scale() const { return scale_; }
    // The display generation drawn by the last render: nothing changed while it is still current.
    std::uint64_t renderedGeneration() const { return renderedGeneration_; }

    // Draws `view` with its placement, alpha and subviews into a context whose user space is the
    // superview's coordinates.
    static void drawView(cairo_t* cr, View& view, bool moving);
    // Draws the content of `view` (background, own drawing, subviews) in its bounds coordinates.
    static void drawContent(cairo_t* cr, View& view, bool moving);
    // A picture of `view`'s content as it shows now, its bounds size in points.
    static Image snapshot(View& view, Float scale);
    // At the scale the program draws at (set by the window or headless run; 2 by default).
    static Image snapshot(View& view);
    static void setSnapshotScale(Float scale);

private:
    // Paints `composition` on black, inside `pixels` only when given.
    void paint(const Composition& composition, const Rect* pixels);

    Size size_;
    Float scale_;
    std::shared_ptr<cairo_surface_t> surface_;
    std::uint64_t renderedGeneration_ = 0;
    FrameDamage damage_;
    std::unique_ptr<TransformedLayerCache> transformed_;
};

} // namespace ui
