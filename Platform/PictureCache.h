#pragma once
// Draws a picture rescaled to the screen's pixels, keeping the rescaled copy for the next frames.
//
// Rescaling a full-screen picture with a good filter costs several milliseconds; blending a copy that
// already has the screen's size costs a fraction of one. A picture drawn at the same size two frames
// running, or drawn while nothing moves, is therefore rescaled once into a copy; a picture whose size
// changes every frame (a zoom in progress) is drawn with the fast filter until it comes to rest.
// Pictures under a rotation or a shear, and stretchable pictures, are drawn directly.

#include "Platform/Image.h"
#include "Platform/View.h"

#include <memory>

namespace ui {

class PictureCache {
public:
    void draw(const DrawContext& context, const Image& image, const Rect& rect);

private:
    struct PixelSize {
        int width = 0, height = 0;
        friend bool operator==(PixelSize, PixelSize) = default;
    };
    void rescale(const Image& image, PixelSize size);

    std::shared_ptr<cairo_surface_t> scaled_;
    // The picture `scaled_` was made from, held so that its address cannot name another picture later.
    std::shared_ptr<cairo_surface_t> source_;
    PixelSize scaledSize_, lastRequest_;
};

} // namespace ui
