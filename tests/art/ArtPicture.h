#pragma once
// Reading the bundle's 2x pictures for the artwork tests: coordinates are in points, pixels are
// sampled at the pixel whose top-left corner is at the point.

#include <cairo.h>
#include <memory>
#include <string>

struct ArtPicture {
    std::shared_ptr<cairo_surface_t> surface;

    static ArtPicture
    load(const std::string& bundleRelativeName); // "Buttons/info" -> .../Buttons/info@2x.png

    bool loaded() const;
    bool hasAlpha() const { return cairo_image_surface_get_format(surface.get()) == CAIRO_FORMAT_ARGB32; }
    int pixelWidth() const { return cairo_image_surface_get_width(surface.get()); }
    int pixelHeight() const { return cairo_image_surface_get_height(surface.get()); }
    double width() const { return pixelWidth() / 2.0; }
    double height() const { return pixelHeight() / 2.0; }

    // Channels 0..255 at a pixel; colour channels are un-premultiplied.
    int alphaAtPixel(int x, int y) const;
    int alpha(double x, double y) const { return alphaAtPixel(int(x * 2), int(y * 2)); }
    int channel(double x, double y, int shift) const;
    // Pixels at least half opaque.
    bool solid(double x, double y) const { return alpha(x, y) >= 128; }
    int solidPixelCount() const;
};

std::string bundlePath(const std::string& relative);
