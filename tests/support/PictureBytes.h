#pragma once
// Pictures made in memory for the bundles and servers of tests. Header-only, so that every test group
// may use it.

#include <cairo.h>

#include <string>

namespace testpictures {

// The bytes of a PNG file of `width` x `height` pixels, all of one colour.
inline std::string solidPng(int width, int height, double red, double green, double blue) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgb(cr, red, green, blue);
    cairo_paint(cr);
    cairo_destroy(cr);
    std::string bytes;
    auto append = [](void* closure, const unsigned char* data, unsigned int length) {
        static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
        return CAIRO_STATUS_SUCCESS;
    };
    cairo_surface_write_to_png_stream(surface, append, &bytes);
    cairo_surface_destroy(surface);
    return bytes;
}

} // namespace testpictures
