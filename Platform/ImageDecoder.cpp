#include "Platform/ImageDecoder.h"

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace ui {

namespace {

bool startsWith(const std::string& bytes, std::string_view magic) {
    return bytes.size() >= magic.size() && std::memcmp(bytes.data(), magic.data(), magic.size()) == 0;
}

bool isPng(const std::string& bytes) {
    return startsWith(bytes, "\x89PNG\r\n\x1a\n");
}
bool isJpeg(const std::string& bytes) {
    return startsWith(bytes, "\xff\xd8\xff");
}

uint32_t readBigEndian32(const std::string& bytes, size_t at) {
    auto byte = [&](size_t i) { return static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + i])); };
    return byte(0) << 24 | byte(1) << 16 | byte(2) << 8 | byte(3);
}

// The IHDR chunk always comes first, so the size is known before anything is allocated.
bool pngSizeIsAcceptable(const std::string& bytes, uint64_t maxPixels) {
    if (bytes.size() < 24)
        return true; // too short to decode anyway; the decoder reports it
    uint32_t width = readBigEndian32(bytes, 16), height = readBigEndian32(bytes, 20);
    return pictureSizeIsAcceptable(width, height, maxPixels);
}

uint32_t readBigEndian16(const std::string& bytes, size_t at) {
    return static_cast<uint32_t>(static_cast<unsigned char>(bytes[at])) << 8 |
           static_cast<unsigned char>(bytes[at + 1]);
}

bool isStartOfFrame(unsigned char marker) {
    return marker >= 0xc0 && marker <= 0xcf && marker != 0xc4 && marker != 0xc8 && marker != 0xcc;
}

// Walks the JPEG segments up to the first frame header. libjpeg would decode a frame of any claimed
// size (seconds of work for a few hundred bytes), so the size is checked before it sees the data.
bool jpegSizeIsAcceptable(const std::string& bytes, uint64_t maxPixels) {
    size_t at = 2;
    while (at + 4 <= bytes.size() && static_cast<unsigned char>(bytes[at]) == 0xff) {
        auto marker = static_cast<unsigned char>(bytes[at + 1]);
        if (marker == 0xff) {
            ++at; // fill byte
            continue;
        }
        if (isStartOfFrame(marker))
            return at + 9 > bytes.size() ||
                   pictureSizeIsAcceptable(readBigEndian16(bytes, at + 7), readBigEndian16(bytes, at + 5),
                                           maxPixels);
        if (marker == 0xda)
            return true; // scan data before any frame header: the decoder reports the damage
        at += 2 + readBigEndian16(bytes, at + 2);
    }
    return true;
}

// A whole JPEG ends with its end-of-image marker after its last scan. The JPEG loader fills in what a
// cut-off file lacks without a word, so the cut is found here.
bool jpegIsComplete(const std::string& bytes) {
    std::size_t end = bytes.rfind("\xff\xd9"), lastScan = bytes.rfind("\xff\xda");
    return end != std::string::npos && (lastScan == std::string::npos || end > lastScan);
}

struct ByteReader {
    const std::string& bytes;
    size_t offset = 0;
};

cairo_status_t readPngBytes(void* closure, unsigned char* data, unsigned int length) {
    auto* reader = static_cast<ByteReader*>(closure);
    if (reader->bytes.size() - reader->offset < length)
        return CAIRO_STATUS_READ_ERROR;
    std::memcpy(data, reader->bytes.data() + reader->offset, length);
    reader->offset += length;
    return CAIRO_STATUS_SUCCESS;
}

SurfacePtr decodePng(const std::string& bytes, std::string& error, uint64_t maxPixels) {
    if (!pngSizeIsAcceptable(bytes, maxPixels)) {
        error = "PNG picture too large";
        return nullptr;
    }
    ByteReader reader{bytes};
    SurfacePtr decoded = adoptSurface(cairo_image_surface_create_from_png_stream(readPngBytes, &reader));
    if (cairo_surface_status(decoded.get()) != CAIRO_STATUS_SUCCESS) {
        error =
            std::string("damaged PNG data: ") + cairo_status_to_string(cairo_surface_status(decoded.get()));
        return nullptr;
    }
    return asArgbSurface(decoded.get());
}

struct PixbufLoaderDeleter {
    void operator()(GdkPixbufLoader* loader) const {
        gdk_pixbuf_loader_close(loader, nullptr);
        g_object_unref(loader);
    }
};

struct SizeGuard {
    uint64_t maxPixels;
    bool tooLarge = false;
};

// A second guard, for frame headers the walk above did not reach.
void refuseHugeSize(GdkPixbufLoader* loader, int width, int height, gpointer guard) {
    auto* sizeGuard = static_cast<SizeGuard*>(guard);
    if (!pictureSizeIsAcceptable(static_cast<uint64_t>(std::max(width, 0)),
                                 static_cast<uint64_t>(std::max(height, 0)), sizeGuard->maxPixels)) {
        sizeGuard->tooLarge = true;
        gdk_pixbuf_loader_set_size(loader, 1, 1); // decode next to nothing; the result is dropped
    }
}

// gdk-pixbuf keeps straight (unpremultiplied) RGB or RGBA bytes; Cairo wants premultiplied
// native-endian 32-bit pixels. Opaque rows (every JPEG) need no multiplying, which is most of the
// work for a full-screen picture.
void premultiplyRow(const guchar* in, uint32_t* out, int width, int channels) {
    if (channels == 3) {
        for (int x = 0; x < width; ++x, in += 3)
            out[x] = 0xff000000u | uint32_t{in[0]} << 16 | uint32_t{in[1]} << 8 | in[2];
        return;
    }
    for (int x = 0; x < width; ++x, in += 4) {
        uint32_t a = in[3];
        auto premultiply = [a](uint32_t c) { return (c * a + 127) / 255; };
        out[x] = a << 24 | premultiply(in[0]) << 16 | premultiply(in[1]) << 8 | premultiply(in[2]);
    }
}

SurfacePtr surfaceFromPixbuf(GdkPixbuf* pixbuf) {
    int width = gdk_pixbuf_get_width(pixbuf), height = gdk_pixbuf_get_height(pixbuf);
    int channels = gdk_pixbuf_get_n_channels(pixbuf), rowstride = gdk_pixbuf_get_rowstride(pixbuf);
    if (gdk_pixbuf_get_bits_per_sample(pixbuf) != 8 || (channels != 3 && channels != 4))
        return nullptr;
    SurfacePtr surface = makeArgbSurface(width, height);
    if (!surface)
        return nullptr;
    const guchar* source = gdk_pixbuf_read_pixels(pixbuf);
    unsigned char* target = cairo_image_surface_get_data(surface.get());
    int targetStride = cairo_image_surface_get_stride(surface.get());
    for (int y = 0; y < height; ++y)
        premultiplyRow(source + static_cast<size_t>(y) * rowstride,
                       reinterpret_cast<uint32_t*>(target + static_cast<size_t>(y) * targetStride), width,
                       channels);
    cairo_surface_mark_dirty(surface.get());
    return surface;
}

SurfacePtr decodeJpeg(const std::string& bytes, std::string& error, uint64_t maxPixels) {
    if (!jpegSizeIsAcceptable(bytes, maxPixels)) {
        error = "JPEG picture too large";
        return nullptr;
    }
    GError* gerror = nullptr;
    std::unique_ptr<GdkPixbufLoader, PixbufLoaderDeleter> loader(
        gdk_pixbuf_loader_new_with_type("jpeg", &gerror));
    if (!loader) {
        error = std::string("no JPEG loader: ") + (gerror ? gerror->message : "unknown");
        g_clear_error(&gerror);
        return nullptr;
    }
    SizeGuard guard{maxPixels};
    g_signal_connect(loader.get(), "size-prepared", G_CALLBACK(refuseHugeSize), &guard);
    bool written = gdk_pixbuf_loader_write(loader.get(), reinterpret_cast<const guchar*>(bytes.data()),
                                           bytes.size(), &gerror);
    bool closed = written && gdk_pixbuf_loader_close(loader.get(), &gerror);
    GdkPixbuf* pixbuf = closed ? gdk_pixbuf_loader_get_pixbuf(loader.get()) : nullptr;
    if (guard.tooLarge || !pixbuf) {
        error = guard.tooLarge
                    ? "JPEG picture too large"
                    : std::string("damaged JPEG data: ") + (gerror ? gerror->message : "no picture");
        g_clear_error(&gerror);
        return nullptr;
    }
    GdkPixbuf* upright = gdk_pixbuf_apply_embedded_orientation(pixbuf);
    SurfacePtr surface = surfaceFromPixbuf(upright ? upright : pixbuf);
    if (upright)
        g_object_unref(upright);
    if (!surface)
        error = "unsupported JPEG pixel layout";
    else if (!jpegIsComplete(bytes))
        error = "JPEG data cut off before its end; the part before the cut is shown";
    return surface;
}

} // namespace

bool pictureSizeIsAcceptable(uint64_t width, uint64_t height, uint64_t maxPixels) {
    constexpr uint64_t maxSide = 8192;
    return width <= maxSide && height <= maxSide && width * height <= maxPixels;
}

SurfacePtr adoptSurface(cairo_surface_t* surface) {
    if (!surface)
        return nullptr;
    return SurfacePtr(surface, cairo_surface_destroy);
}

SurfacePtr makeArgbSurface(int width, int height) {
    SurfacePtr surface = adoptSurface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS)
        return nullptr;
    return surface;
}

SurfacePtr asArgbSurface(cairo_surface_t* surface) {
    if (!surface || cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS ||
        cairo_surface_get_type(surface) != CAIRO_SURFACE_TYPE_IMAGE)
        return nullptr;
    if (cairo_image_surface_get_format(surface) == CAIRO_FORMAT_ARGB32)
        return adoptSurface(cairo_surface_reference(surface));
    SurfacePtr copy =
        makeArgbSurface(cairo_image_surface_get_width(surface), cairo_image_surface_get_height(surface));
    if (!copy)
        return nullptr;
    cairo_t* cr = cairo_create(copy.get());
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(cr, surface, 0, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
    return copy;
}

SurfacePtr decodePicture(const std::string& bytes, std::string& error, uint64_t maxPixels) {
    if (isPng(bytes))
        return decodePng(bytes, error, maxPixels);
    if (isJpeg(bytes))
        return decodeJpeg(bytes, error, maxPixels);
    error = bytes.empty() ? "no data" : "neither PNG nor JPEG data";
    return nullptr;
}

} // namespace ui
