#pragma once
// Pictures made in memory for the bundles and servers of tests, and their pixels read back. Header-only,
// so that every test group may use it.

#include <cairo.h>
#include <gdk-pixbuf/gdk-pixbuf.h>

#include <array>
#include <cstdint>
#include <cstdlib>
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

inline std::uint32_t crc32(const std::string& bytes) {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> entries{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = c & 1 ? 0xedb88320u ^ (c >> 1) : c >> 1;
            entries[n] = c;
        }
        return entries;
    }();
    std::uint32_t c = 0xffffffffu;
    for (unsigned char byte : bytes)
        c = table[(c ^ byte) & 0xff] ^ (c >> 8);
    return c ^ 0xffffffffu;
}

inline void appendChunk(std::string& png, const std::string& type, const std::string& data) {
    appendBigEndian32(png, static_cast<std::uint32_t>(data.size()));
    std::string typed = type + data;
    png += typed;
    appendBigEndian32(png, crc32(typed));
}

// Deflate bits, least significant first; Huffman codes go in from their most significant bit.
class BitWriter {
public:
    void bits(std::uint32_t value, int count) {
        for (int i = 0; i < count; ++i)
            bit((value >> i) & 1);
    }
    void code(std::uint32_t value, int length) {
        for (int i = length - 1; i >= 0; --i)
            bit((value >> i) & 1);
    }
    std::string finish() {
        if (used_ > 0)
            out_ += static_cast<char>(current_);
        return std::move(out_);
    }

private:
    void bit(std::uint32_t value) {
        current_ |= value << used_;
        if (++used_ == 8) {
            out_ += static_cast<char>(current_);
            current_ = 0;
            used_ = 0;
        }
    }
    std::string out_;
    std::uint32_t current_ = 0;
    int used_ = 0;
};

// A zlib stream of `count` zero bytes in one block of fixed codes: a literal zero, then copies of 258
// bytes at distance 1, then the rest as literals.
inline std::string zeroBytesZlib(std::uint64_t count) {
    constexpr std::uint32_t literalZero = 0x30, length258 = 0xc5, endOfBlock = 0;
    BitWriter writer;
    writer.bits(1, 1); // the final block
    writer.bits(1, 2); // fixed codes
    std::uint64_t left = count;
    if (left > 0) {
        writer.code(literalZero, 8);
        --left;
    }
    for (; left >= 258; left -= 258) {
        writer.code(length258, 8);
        writer.code(0, 5); // distance 1
    }
    for (; left > 0; --left)
        writer.code(literalZero, 8);
    writer.code(endOfBlock, 7);
    std::string stream = "\x78\x01";
    stream += writer.finish();
    // Adler-32 of zeros: the sum stays 1 and the second sum adds it once per byte.
    appendBigEndian32(stream, static_cast<std::uint32_t>(count % 65521) << 16 | 1);
    return stream;
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
