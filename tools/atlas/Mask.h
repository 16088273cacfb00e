#pragma once
// A coverage raster (one byte per pixel, 0 = empty, 255 = covered) that Cairo can draw into and paint
// through, with the few raster operations the generator needs: bounds, occlusion, rims, the exterior of
// a line drawing, and the best place for a label inside a shape.

#include "AtlasSource.h"

#include <cairo.h>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace atlas {

struct Pixel {
    int x = 0, y = 0;
};

class Mask {
public:
    Mask() = default;
    Mask(int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }
    bool empty() const { return width_ == 0 || height_ == 0; }
    std::uint8_t at(int x, int y) const { return data_[static_cast<std::size_t>(y) * stride_ + x]; }
    std::uint8_t& at(int x, int y) { return data_[static_cast<std::size_t>(y) * stride_ + x]; }

    using SurfacePtr = std::unique_ptr<cairo_surface_t, void (*)(cairo_surface_t*)>;
    // A Cairo A8 surface over this mask's pixels, to draw into it or paint through it. The mask must
    // outlive the surface and keep its size meanwhile.
    SurfacePtr surface();
    // The same, for painting through only.
    SurfacePtr surface() const { return const_cast<Mask*>(this)->surface(); }

    // The smallest box of pixels above THRESHOLD; empty when there are none.
    Box bounds(std::uint8_t threshold = 127) const;
    long count(std::uint8_t threshold = 127) const;

    // Removes what COVER hides: each pixel keeps the part of its coverage not covered.
    void subtract(const Mask& cover);
    // Adds OTHER at ALPHA: each pixel becomes the larger of the two coverages.
    void unite(const Mask& other, double alpha = 1);
    // The same pixels moved by (DX, DY); what leaves the raster is lost.
    Mask shifted(int dx, int dy) const;
    // Clears everything outside BOX.
    void keepInside(const Box& box);
    // The rim of the covered area, RADIUS pixels wide.
    Mask rim(int radius) const;

    // 255 where a pixel can be reached from the raster's border without crossing a pixel above
    // THRESHOLD: the outside of a closed line drawing. Pixels marked in SEEDS start the search as well.
    static Mask outsideOf(const Mask& walls, std::uint8_t threshold, const Mask* seeds = nullptr);
    // The connected strokes of LINES that touch OUTSIDE (its outer contour); inner strokes are dropped.
    static Mask strokesTouching(const Mask& lines, const Mask& outside);

    // The covered pixel inside ALLOWED farthest from the uncovered ones, preferring among nearly equal
    // candidates the one closest to the covered area's centre; nullopt when nothing covered is allowed.
    std::optional<Pixel> labelPoint(const Box& allowed) const;

private:
    struct Region {
        int left, top, right, bottom; // right and bottom excluded
    };
    // BOX grown by GROW pixels on every side, in whole pixels inside the raster.
    Region regionOf(const Box& box, int grow) const;

    int width_ = 0, height_ = 0, stride_ = 0;
    std::vector<std::uint8_t> data_;
};

} // namespace atlas
