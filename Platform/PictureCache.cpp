#include "Platform/PictureCache.h"

#include <cmath>

namespace ui {

namespace {

std::shared_ptr<cairo_surface_t> retained(cairo_surface_t* surface) {
    return {cairo_surface_reference(surface), cairo_surface_destroy};
}

bool isAxisAligned(const cairo_matrix_t& m) {
    return m.xy == 0 && m.yx == 0 && m.xx > 0 && m.yy > 0;
}

// Samples the picture straight from its pixels (a turned or sheared one, or one whose size changes
// every frame). No clip: a clip that is not pixel-aligned costs a mask as large as the screen.
void drawTransformed(cairo_t* cr, const Image& image, const Rect& rect, Float opacity, bool moving) {
    Size pixels = image.pixelSize();
    cairo_save(cr);
    cairo_translate(cr, rect.x(), rect.y());
    cairo_scale(cr, rect.width() / pixels.width, rect.height() / pixels.height);
    cairo_set_source_surface(cr, image.surface(), 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), moving ? CAIRO_FILTER_FAST : CAIRO_FILTER_GOOD);
    cairo_paint_with_alpha(cr, opacity);
    cairo_restore(cr);
}

} // namespace

void PictureCache::draw(const DrawContext& context, const Image& image, const Rect& rect) {
    cairo_t* cr = context.cr;
    cairo_matrix_t m;
    cairo_get_matrix(cr, &m);
    if (image.empty())
        return;
    if (image.isStretchable()) {
        image.draw(cr, rect, context.opacity, context.moving ? ImageFilter::Fast : ImageFilter::Good);
        return;
    }
    if (!isAxisAligned(m)) {
        drawTransformed(cr, image, rect, context.opacity, context.moving);
        return;
    }
    Float left = std::round(m.xx * rect.x() + m.x0), top = std::round(m.yy * rect.y() + m.y0);
    PixelSize size{static_cast<int>(std::lround(m.xx * rect.width())),
                   static_cast<int>(std::lround(m.yy * rect.height()))};
    if (size.width <= 0 || size.height <= 0)
        return;
    bool stable = size == lastRequest_;
    lastRequest_ = size;
    if (source_.get() != image.surface() || scaledSize_ != size) {
        if (context.moving && !stable) {
            drawTransformed(cr, image, rect, context.opacity, true);
            return;
        }
        rescale(image, size);
    }
    // Whole device pixels: the copy is blended without any resampling.
    cairo_save(cr);
    cairo_identity_matrix(cr);
    cairo_set_source_surface(cr, scaled_.get(), left, top);
    cairo_paint_with_alpha(cr, context.opacity);
    cairo_restore(cr);
}

void PictureCache::rescale(const Image& image, PixelSize size) {
    Size pixels = image.pixelSize();
    if (pixels.width == size.width && pixels.height == size.height) {
        scaled_ = retained(image.surface());
    } else {
        scaled_ = std::shared_ptr<cairo_surface_t>(
            cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size.width, size.height), cairo_surface_destroy);
        cairo_t* cr = cairo_create(scaled_.get());
        image.draw(cr, Rect(0, 0, size.width, size.height), 1, ImageFilter::Good);
        cairo_destroy(cr);
    }
    source_ = retained(image.surface());
    scaledSize_ = size;
}

} // namespace ui
