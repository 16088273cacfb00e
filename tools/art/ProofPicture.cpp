#include "Proof.h"

#include "Catalogue.h"

#include <cmath>
#include <gdk-pixbuf/gdk-pixbuf.h>
#include <stdexcept>

namespace art::proof {

namespace fs = std::filesystem;

Picture loadPicture(const fs::path& bundle, const std::string& name) {
    Picture picture;
    picture.surface.reset(cairo_image_surface_create_from_png((bundle / (name + "@2x.png")).c_str()));
    if (cairo_surface_status(picture.surface.get()) != CAIRO_STATUS_SUCCESS)
        throw std::runtime_error("cannot read " + name);
    return picture;
}

void drawPart(cairo_t* cr, const Picture& picture, double sx, double sy, double sw, double sh, double tx,
              double ty, double tw, double th) {
    if (tw <= 0 || th <= 0)
        return;
    cairo_save(cr);
    cairo_rectangle(cr, tx, ty, tw, th);
    cairo_clip(cr);
    cairo_translate(cr, tx, ty);
    cairo_scale(cr, tw / sw, th / sh);
    cairo_translate(cr, -sx, -sy);
    cairo_scale(cr, 1 / picture.scale, 1 / picture.scale);
    cairo_set_source_surface(cr, picture.surface.get(), 0, 0);
    cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
    cairo_paint(cr);
    cairo_restore(cr);
}

void drawStretched(cairo_t* cr, const Picture& picture, double sx, double sy, double sw, double sh,
                   double leftCap, double topCap, double tx, double ty, double tw, double th) {
    const double sourceX[] = {0, leftCap, leftCap + 1, sw};
    const double sourceY[] = {0, topCap, topCap + 1, sh};
    const double targetX[] = {0, leftCap, tw - (sw - leftCap - 1), tw};
    const double targetY[] = {0, topCap, th - (sh - topCap - 1), th};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            drawPart(cr, picture, sx + sourceX[i], sy + sourceY[j], sourceX[i + 1] - sourceX[i],
                     sourceY[j + 1] - sourceY[j], tx + targetX[i], ty + targetY[j],
                     targetX[i + 1] - targetX[i], targetY[j + 1] - targetY[j]);
}

void drawCentredBubble(cairo_t* cr, const Picture& sheet, int width, double x, double y) {
    int w = width % 2 ? width + 1 : width;
    int half = w / 2;
    cairo_save(cr);
    cairo_translate(cr, x, y);
    drawStretched(cr, sheet, 0, 0, 26, 58, 15, 25, 0, 0, half - 12, 58);
    drawStretched(cr, sheet, 100, 0, 34, 58, 15, 25, half + 12, 0, half - 12, 58);
    cairo_translate(cr, w, 58);
    cairo_rotate(cr, -M_PI);
    drawPart(cr, sheet, 60, 0, 24, 58, half - 12, 0, 24, 58);
    cairo_restore(cr);
}

Picture loadStartPicture(const fs::path& bundle) {
    GError* error = nullptr;
    std::unique_ptr<GdkPixbuf, decltype(&g_object_unref)> pixbuf(
        gdk_pixbuf_new_from_file((bundle / startPictureName).c_str(), &error), g_object_unref);
    if (!pixbuf) {
        g_clear_error(&error);
        throw std::runtime_error(std::string("cannot read ") + startPictureName);
    }
    int w = gdk_pixbuf_get_width(pixbuf.get()), h = gdk_pixbuf_get_height(pixbuf.get());
    int channels = gdk_pixbuf_get_n_channels(pixbuf.get()),
        rowstride = gdk_pixbuf_get_rowstride(pixbuf.get());
    const guchar* pixels = gdk_pixbuf_read_pixels(pixbuf.get());
    Picture picture;
    picture.surface.reset(cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h));
    cairo_surface_flush(picture.surface.get());
    unsigned char* data = cairo_image_surface_get_data(picture.surface.get());
    int stride = cairo_image_surface_get_stride(picture.surface.get());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const guchar* p = pixels + y * rowstride + x * channels;
            reinterpret_cast<uint32_t*>(data + y * stride)[x] =
                uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
        }
    cairo_surface_mark_dirty(picture.surface.get());
    return picture;
}

void paintGround(cairo_t* cr, Ground ground, double y, double w, double h) {
    cairo_rectangle(cr, 0, y, w, h);
    if (ground == Ground::Black) {
        cairo_set_source_rgb(cr, 0, 0, 0);
    } else if (ground == Ground::White) {
        cairo_set_source_rgb(cr, 1, 1, 1);
    } else {
        cairo_pattern_t* flesh = cairo_pattern_create_linear(0, y, w, y + h);
        cairo_pattern_add_color_stop_rgb(flesh, 0, 0.80, 0.42, 0.38);
        cairo_pattern_add_color_stop_rgb(flesh, 0.5, 0.93, 0.78, 0.66);
        cairo_pattern_add_color_stop_rgb(flesh, 1, 0.55, 0.16, 0.18);
        cairo_set_source(cr, flesh);
        cairo_pattern_destroy(flesh);
    }
    cairo_fill(cr);
}

} // namespace art::proof
