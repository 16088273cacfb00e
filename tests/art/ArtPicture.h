#pragma once
// Reading the bundle's 2x pictures for the artwork tests: coordinates are in points, pixels are
// sampled at the pixel whose top-left corner is at the point.

#include "tests/support/PictureBytes.h"

#include <memory>

struct ArtPicture {
    std::shared_ptr<cairo_surface_t> surface;

    // "Buttons/info" -> .../Buttons/info@2x.png
    static ArtPicture load(const std::string& name) {
        std::string path = std::string(TORVEX_BUILD_BUNDLE_DIR) + "/" + name + "@2x.png";
        return {std::shared_ptr<cairo_surface_t>(cairo_image_surface_create_from_png(path.c_str()),
                                                 cairo_surface_destroy)};
    }

    bool hasAlpha() const { return cairo_image_surface_get_format(surface.get()) == CAIRO_FORMAT_ARGB32; }
    int pixelWidth() const { return cairo_image_surface_get_width(surface.get()); }
    int pixelHeight() const { return cairo_image_surface_get_height(surface.get()); }
    double width() const { return pixelWidth() / 2.0; }
    double height() const { return pixelHeight() / 2.0; }

    // Channels 0..255 at a pixel; colour channels are un-premultiplied.
    int alphaAtPixel(int x, int y) const {
        if (x < 0 || y < 0 || x >= pixelWidth() || y >= pixelHeight())
            return 0;
        return testpictures::pixelAt(surface.get(), x, y).a;
    }
    int alpha(double x, double y) const { return alphaAtPixel(int(x * 2), int(y * 2)); }
    int channel(double x, double y, int shift) const {
        if (alpha(x, y) == 0)
            return 0;
        testpictures::Rgba pixel = testpictures::pixelAt(surface.get(), int(x * 2), int(y * 2));
        return shift == 16 ? pixel.r : shift == 8 ? pixel.g : pixel.b;
    }
    // Pixels at least half opaque.
    bool solid(double x, double y) const { return alpha(x, y) >= 128; }
    int solidPixelCount() const {
        int count = 0;
        for (int y = 0; y < pixelHeight(); ++y)
            for (int x = 0; x < pixelWidth(); ++x)
                count += alphaAtPixel(x, y) >= 128;
        return count;
    }
};
