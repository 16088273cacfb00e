#include "ArtCanvas.h"

#include <gdk-pixbuf/gdk-pixbuf.h>
#include <stdexcept>
#include <vector>

namespace art {

namespace {

std::filesystem::path prepared(const std::filesystem::path& path) {
    std::filesystem::create_directories(path.parent_path());
    return path;
}

// Cairo keeps premultiplied native-endian ARGB; a JPEG wants plain RGB. The picture is composed
// over black first, as the screen shows it.
std::vector<guchar> opaqueRgb(cairo_surface_t* surface) {
    int w = cairo_image_surface_get_width(surface), h = cairo_image_surface_get_height(surface);
    int stride = cairo_image_surface_get_stride(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    std::vector<guchar> rgb;
    rgb.reserve(size_t(w) * h * 3);
    for (int y = 0; y < h; ++y) {
        auto row = reinterpret_cast<const uint32_t*>(data + size_t(y) * stride);
        for (int x = 0; x < w; ++x)
            for (int shift : {16, 8, 0})
                rgb.push_back(guchar((row[x] >> shift) & 0xff));
    }
    return rgb;
}

} // namespace

ArtCanvas::ArtCanvas(double widthInPoints, double heightInPoints, int pixelsPerPoint)
    : width_(widthInPoints), height_(heightInPoints), pixelsPerPoint_(pixelsPerPoint),
      surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, int(widthInPoints * pixelsPerPoint),
                                          int(heightInPoints * pixelsPerPoint)),
               cairo_surface_destroy),
      cr_(cairo_create(surface_.get()), cairo_destroy) {
    cairo_scale(cr(), pixelsPerPoint, pixelsPerPoint);
}

void ArtCanvas::writePng(const std::filesystem::path& bundle, const std::string& name) const {
    std::string suffix = pixelsPerPoint_ == 1 ? "" : "@" + std::to_string(pixelsPerPoint_) + "x";
    auto path = prepared(bundle / (name + suffix + ".png"));
    cairo_surface_flush(surface());
    if (cairo_surface_write_to_png(surface(), path.c_str()) != CAIRO_STATUS_SUCCESS)
        throw std::runtime_error("cannot write " + path.string());
}

void ArtCanvas::writeJpeg(const std::filesystem::path& path, int quality) const {
    cairo_surface_flush(surface());
    int w = cairo_image_surface_get_width(surface());
    int h = cairo_image_surface_get_height(surface());
    std::vector<guchar> rgb = opaqueRgb(surface());
    std::unique_ptr<GdkPixbuf, decltype(&g_object_unref)> pixbuf(
        gdk_pixbuf_new_from_data(rgb.data(), GDK_COLORSPACE_RGB, false, 8, w, h, w * 3, nullptr, nullptr),
        g_object_unref);
    if (!pixbuf)
        throw std::runtime_error("cannot convert the picture for " + path.string());
    std::string q = std::to_string(quality);
    GError* error = nullptr;
    if (!gdk_pixbuf_save(pixbuf.get(), prepared(path).c_str(), "jpeg", &error, "quality", q.c_str(),
                         nullptr)) {
        std::string message = error ? error->message : "unknown error";
        g_clear_error(&error);
        throw std::runtime_error("cannot write " + path.string() + ": " + message);
    }
}

} // namespace art
