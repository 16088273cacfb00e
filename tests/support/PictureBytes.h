#pragma once
// Pictures made in memory for the bundles and servers of tests, and their pixels read back. Header-only,
// so that every test group may use it.

#include <cairo.h>
#include <gdk-pixbuf/gdk-pixbuf.h>
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <ostream>
#include <stdexcept>
#include <string>

namespace testpictures {

// A pixel's channels, 0 to 255, colour not premultiplied.
struct Rgba {
    int r = 0, g = 0, b = 0, a = 255;
    friend bool operator==(const Rgba&, const Rgba&) = default;
    friend std::ostream& operator<<(std::ostream& out, const Rgba& p) {
        return out << "(" << p.r << ", " << p.g << ", " << p.b << ", " << p.a << ")";
    }
};

// The pixel at `x`, `y` of an image surface (ARGB32 or RGB24).
inline Rgba pixelAt(cairo_surface_t* surface, int x, int y) {
    cairo_surface_flush(surface);
    const unsigned char* row =
        cairo_image_surface_get_data(surface) + y * cairo_image_surface_get_stride(surface);
    std::uint32_t pixel = reinterpret_cast<const std::uint32_t*>(row)[x];
    int a =
        cairo_image_surface_get_format(surface) == CAIRO_FORMAT_ARGB32 ? static_cast<int>(pixel >> 24) : 255;
    auto unpremultiply = [a](std::uint32_t c) {
        return a == 0 ? 0 : static_cast<int>((c * 255 + a / 2) / a);
    };
    return {unpremultiply(pixel >> 16 & 0xff), unpremultiply(pixel >> 8 & 0xff), unpremultiply(pixel & 0xff),
            a};
}

// True when every channel differs by at most `tolerance`.
inline bool near(Rgba one, Rgba other, int tolerance = 2) {
    return std::abs(one.r - other.r) <= tolerance && std::abs(one.g - other.g) <= tolerance &&
           std::abs(one.b - other.b) <= tolerance && std::abs(one.a - other.a) <= tolerance;
}

// How many pixels of two image surfaces differ by more than `tolerance` in a channel; all when their
// sizes differ.
inline int pixelsDiffering(cairo_surface_t* one, cairo_surface_t* other, int tolerance = 0) {
    int width = cairo_image_surface_get_width(one), height = cairo_image_surface_get_height(one);
    if (width != cairo_image_surface_get_width(other) || height != cairo_image_surface_get_height(other))
        return std::numeric_limits<int>::max();
    int differing = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            differing += !near(pixelAt(one, x, y), pixelAt(other, x, y), tolerance);
    }
    return differing;
}

// The bytes of a PNG file of `width` x `height` pixels, all of one colour.
inline std::string solidPng(int width, int height, double red, double green, double blue, double alpha = 1,
                            cairo_format_t format = CAIRO_FORMAT_ARGB32) {
    cairo_surface_t* surface = cairo_image_surface_create(format, width, height);
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgba(cr, red, green, blue, alpha);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
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

inline std::string solidPng(int width, int height, Rgba color, cairo_format_t format = CAIRO_FORMAT_ARGB32) {
    return solidPng(width, height, color.r / 255.0, color.g / 255.0, color.b / 255.0, color.a / 255.0,
                    format);
}

// The bytes of a JPEG file of one colour.
inline std::string solidJpeg(int width, int height, Rgba color) {
    GdkPixbuf* pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, FALSE, 8, width, height);
    gdk_pixbuf_fill(pixbuf, static_cast<guint32>(color.r) << 24 | color.g << 16 | color.b << 8 | 0xff);
    gchar* buffer = nullptr;
    gsize size = 0;
    bool saved = gdk_pixbuf_save_to_buffer(pixbuf, &buffer, &size, "jpeg", nullptr, "quality", "95", nullptr);
    g_object_unref(pixbuf);
    if (!saved)
        throw std::runtime_error("cannot encode a JPEG");
    std::string bytes(buffer, size);
    g_free(buffer);
    return bytes;
}

namespace detail {

inline void appendBigEndian32(std::string& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out += static_cast<char>((value >> shift) & 0xff);
}

inline void appendChunk(std::string& png, const std::string& type, const std::string& data) {
    appendBigEndian32(png, static_cast<std::uint32_t>(data.size()));
    std::string typed = type + data;
    png += typed;
    appendBigEndian32(png, static_cast<std::uint32_t>(
                               ::crc32(0, reinterpret_cast<const Bytef*>(typed.data()), typed.size())));
}

// A zlib stream of `count` zero bytes, compressed a block of zeros at a time.
inline std::string zeroBytesZlib(std::uint64_t count) {
    static const std::string zeros(1 << 16, '\0');
    z_stream stream{};
    deflateInit2(&stream, Z_BEST_SPEED, Z_DEFLATED, 15, 8, Z_RLE); // runs of zeros, quickly
    std::string out;
    char buffer[1 << 14];
    int flush = Z_NO_FLUSH;
    while (flush != Z_FINISH || stream.avail_out == 0) {
        if (stream.avail_in == 0) {
            std::uint64_t piece = std::min<std::uint64_t>(count, zeros.size());
            count -= piece;
            stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(zeros.data()));
            stream.avail_in = static_cast<uInt>(piece);
            flush = count == 0 ? Z_FINISH : Z_NO_FLUSH;
        }
        stream.next_out = reinterpret_cast<Bytef*>(buffer);
        stream.avail_out = sizeof buffer;
        deflate(&stream, flush);
        out.append(buffer, sizeof buffer - stream.avail_out);
    }
    deflateEnd(&stream);
    return out;
}

} // namespace detail

// The bytes of a PNG file of `width` x `height` black pixels (8-bit grey) that stay small at any size:
// a picture that claims far more pixels than its few bytes, as a hostile file does.
inline std::string blackPng(std::uint32_t width, std::uint32_t height) {
    std::string png = "\x89PNG\r\n\x1a\n";
    std::string header;
    detail::appendBigEndian32(header, width);
    detail::appendBigEndian32(header, height);
    header += std::string("\x08\x00\x00\x00\x00", 5); // 8-bit grey, no interlace
    detail::appendChunk(png, "IHDR", header);
    // Every row is its filter byte and its pixels, all zero.
    detail::appendChunk(png, "IDAT", detail::zeroBytesZlib(static_cast<std::uint64_t>(height) * (1 + width)));
    detail::appendChunk(png, "IEND", "");
    return png;
}

} // namespace testpictures
