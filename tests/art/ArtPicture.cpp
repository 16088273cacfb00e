#include "ArtPicture.h"

#include <cstdint>

std::string bundlePath(const std::string& relative) {
    return std::string(TORVEX_BUILD_BUNDLE_DIR) + "/" + relative;
}

ArtPicture ArtPicture::load(const std::string& name) {
    std::string path = bundlePath(name + "@2x.png");
    return {std::shared_ptr<cairo_surface_t>(cairo_image_surface_create_from_png(path.c_str()),
                                             cairo_surface_destroy)};
}

bool ArtPicture::loaded() const {
    return cairo_surface_status(surface.get()) == CAIRO_STATUS_SUCCESS;
}

namespace {

uint32_t pixel(cairo_surface_t* surface, int x, int y) {
    cairo_surface_flush(surface);
    const unsigned char* row =
        cairo_image_surface_get_data(surface) + y * cairo_image_surface_get_stride(surface);
    return reinterpret_cast<const uint32_t*>(row)[x];
}

} // namespace

int ArtPicture::alphaAtPixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= pixelWidth() || y >= pixelHeight())
        return 0;
    if (!hasAlpha())
        return 255;
    return int(pixel(surface.get(), x, y) >> 24);
}

int ArtPicture::channel(double x, double y, int shift) const {
    int a = alpha(x, y);
    if (a == 0)
        return 0;
    int premultiplied = int((pixel(surface.get(), int(x * 2), int(y * 2)) >> shift) & 0xff);
    return hasAlpha() ? premultiplied * 255 / a : premultiplied;
}

int ArtPicture::solidPixelCount() const {
    int count = 0;
    for (int y = 0; y < pixelHeight(); ++y)
        for (int x = 0; x < pixelWidth(); ++x)
            count += alphaAtPixel(x, y) >= 128;
    return count;
}
