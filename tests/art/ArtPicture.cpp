#include "ArtPicture.h"

#include "tests/support/PictureBytes.h"

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

int ArtPicture::alphaAtPixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= pixelWidth() || y >= pixelHeight())
        return 0;
    return testpictures::pixelAt(surface.get(), x, y).a;
}

int ArtPicture::channel(double x, double y, int shift) const {
    if (alpha(x, y) == 0)
        return 0;
    testpictures::Rgba pixel = testpictures::pixelAt(surface.get(), int(x * 2), int(y * 2));
    return shift == 16 ? pixel.r : shift == 8 ? pixel.g : pixel.b;
}

int ArtPicture::solidPixelCount() const {
    int count = 0;
    for (int y = 0; y < pixelHeight(); ++y)
        for (int x = 0; x < pixelWidth(); ++x)
            count += alphaAtPixel(x, y) >= 128;
    return count;
}
