#pragma once
// Each view's own content (what `draw` paints, without its background and subviews) drawn once into a
// picture at the screen's pixels per point, and drawn again only when the view says its content changed
// (setNeedsDisplay), the pixels per point change or, for a view that clips, the part on screen leaves
// the part drawn. A frame composites these layers with the views' current opacity and placement
// (Compositor.h), so an animation that moves, scales or fades views draws no content at all.
//
// Memory stays bounded. A layer that a frame did not use is dropped when the frame ends (its view was
// hidden, removed or off screen), except that a view faded to nothing keeps its layer for when it comes
// back. The whole cache holds at most `capacity` bytes: beyond it the least recently used layers go
// first, and a layer that still does not fit serves its one frame and is not kept.

#include "Platform/Geometry.h"
#include "Platform/Image.h"

#include <cairo.h>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <unordered_map>

namespace ui {

class View;

struct Layer {
    std::shared_ptr<cairo_surface_t> surface; // ARGB32, premultiplied
    Rect extent;                              // what it covers, in the view's bounds coordinates
    Float scale = 1;                          // pixels per point
    std::uint64_t id = 0;                     // new for every drawing: the window keeps textures by it
    std::size_t bytes() const;
};
using LayerPtr = std::shared_ptr<const Layer>;

class LayerCache {
public:
    static LayerCache& shared();

    // The layer of `view`'s own content at `scale`, drawn when missing or stale; null when the view
    // paints nothing. `visible` is the part of its bounds on screen: a view that clips keeps only about
    // that much of its content (a long text), drawn again when it scrolls beyond.
    LayerPtr content(View& view, Float scale, const Rect& visible);
    // What `drawOverlay` paints now (a scroll indicator), drawn afresh each time: it follows the scrolling.
    static LayerPtr overlay(View& view, Float scale);
    // A finished picture shown as a layer (the old face of a flipping view), kept while it is shown.
    LayerPtr picture(const View& view, const Image& image);
    // Keeps the layers of `view` for the next frame without drawing them.
    void keep(const View& view);
    // Drops the layers of a view that goes away.
    void forget(const View* view);
    // Ends a frame: drops the layers it did not use.
    void endFrame();
    void clear();

    std::size_t bytes() const { return bytes_; }
    std::size_t peakBytes() const { return peakBytes_; }
    void resetPeak() { peakBytes_ = bytes_; }
    std::size_t capacity() const { return capacity_; }
    void setCapacity(std::size_t bytes) { capacity_ = bytes; }
    static constexpr std::size_t defaultCapacity = std::size_t{128} << 20;

    // Draws what `paint` paints (user space in points) into a new layer at `scale`, cut to `limit` when
    // given; null when nothing was painted.
    static LayerPtr draw(Float scale, const Rect* limit, const std::function<void(cairo_t*)>& paint);

private:
    struct Entry {
        LayerPtr layer;
        std::uint64_t version = 0;
        Float scale = 0;
        Rect covered;       // the part of the bounds drawn, for views that clip
        bool drawn = false; // null layer and drawn: the view paints nothing
        std::uint64_t lastFrame = 0;
        LayerPtr picture;
        cairo_surface_t* pictureSource = nullptr;
        std::uint64_t pictureFrame = 0;
    };
    void store(Entry& entry, LayerPtr layer);
    void makeRoom(std::size_t bytes);
    static std::size_t entryBytes(const Entry& entry);

    std::unordered_map<const View*, Entry> entries_;
    std::uint64_t frame_ = 1;
    std::size_t bytes_ = 0, peakBytes_ = 0;
    std::size_t capacity_ = defaultCapacity;
};

} // namespace ui
