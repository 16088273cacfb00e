#pragma once
// Where a view's picture comes from: a window of the artwork (in the artwork's units), widened to the
// picture's shape, optionally mirrored left to right, drawn into a raster of a given pixel size.

#include "AtlasSource.h"

#include <cairo.h>

namespace atlas {

// The program shows a view's picture in the picture area of 320 x 420 points; the bundle holds it at
// twice that density.
constexpr int pictureWidth = 640, pictureHeight = 840;

class ViewFrame {
public:
    ViewFrame() = default;
    // WINDOW is widened (never narrowed) about its centre to the raster's shape.
    ViewFrame(const Box& window, bool mirror, int width = pictureWidth, int height = pictureHeight);

    const Box& window() const { return window_; }
    int width() const { return width_; }
    int height() const { return height_; }
    double pixelsPerUnit() const { return width_ / window_.width; }

    // Artwork units to raster pixels.
    cairo_matrix_t matrix() const;
    // The box that BOX of the artwork covers in the raster.
    Box toPixels(const Box& box) const;


private:
    Box window_;
    bool mirror_ = false;
    int width_ = 0, height_ = 0;
};

} // namespace atlas
