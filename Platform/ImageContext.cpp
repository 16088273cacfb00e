#include "Platform/Image.h"

#include "Platform/ImageDecoder.h"

#include <cmath>

namespace ui {

ImageContext::ImageContext(Size sizeInPoints, Float scale) : scale_(scale > 0 ? scale : 1) {
    int width = static_cast<int>(std::ceil(std::max<Float>(sizeInPoints.width, 0) * scale_));
    int height = static_cast<int>(std::ceil(std::max<Float>(sizeInPoints.height, 0) * scale_));
    surface_ = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cr_ = cairo_create(surface_);
    cairo_scale(cr_, scale_, scale_);
}

ImageContext::~ImageContext() {
    cairo_destroy(cr_);
    cairo_surface_destroy(surface_);
}

// A copy, so that drawing on after taking the picture does not change it.
Image ImageContext::image() const {
    cairo_surface_flush(surface_);
    SurfacePtr snapshot =
        makeArgbSurface(cairo_image_surface_get_width(surface_), cairo_image_surface_get_height(surface_));
    if (!snapshot)
        return {};
    cairo_t* cr = cairo_create(snapshot.get());
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(cr, surface_, 0, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
    return Image::fromSurface(snapshot.get(), scale_);
}

bool writePng(cairo_surface_t* surface, const std::string& path) {
    if (!surface || cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS)
        return false;
    cairo_surface_flush(surface);
    return cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
}

} // namespace ui
