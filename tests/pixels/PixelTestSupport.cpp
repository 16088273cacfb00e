#include "PixelTestSupport.h"

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <cstdlib>
#include <fstream>

namespace pixeltest {

namespace {

void makeFolderOf(const std::string& path) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
}

} // namespace

void writeSolidPng(const std::string& path, int width, int height, Rgba color, cairo_format_t format) {
    makeFolderOf(path);
    cairo_surface_t* surface = cairo_image_surface_create(format, width, height);
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgba(cr, color.r / 255.0, color.g / 255.0, color.b / 255.0, color.a / 255.0);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_write_to_png(surface, path.c_str());
    cairo_surface_destroy(surface);
}

void writeSolidJpeg(const std::string& path, int width, int height, Rgba color) {
    makeFolderOf(path);
    GdkPixbuf* pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, FALSE, 8, width, height);
    gdk_pixbuf_fill(pixbuf, static_cast<guint32>(color.r) << 24 | color.g << 16 | color.b << 8 | 0xff);
    gdk_pixbuf_save(pixbuf, path.c_str(), "jpeg", nullptr, "quality", "95", nullptr);
    g_object_unref(pixbuf);
}

void writeBytes(const std::string& path, const std::string& bytes) {
    makeFolderOf(path);
    std::ofstream(path, std::ios::binary) << bytes;
}

Rgba pixelAt(cairo_surface_t* surface, int x, int y) {
    cairo_surface_flush(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    int stride = cairo_image_surface_get_stride(surface);
    uint32_t pixel = *reinterpret_cast<const uint32_t*>(data + y * stride + x * 4);
    int a = pixel >> 24;
    auto unpremultiply = [a](uint32_t c) { return a == 0 ? 0 : static_cast<int>((c * 255 + a / 2) / a); };
    return {unpremultiply(pixel >> 16 & 0xff), unpremultiply(pixel >> 8 & 0xff), unpremultiply(pixel & 0xff),
            a};
}

bool near(Rgba a, Rgba b, int tolerance) {
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
           std::abs(a.b - b.b) <= tolerance && std::abs(a.a - b.a) <= tolerance;
}

} // namespace pixeltest
