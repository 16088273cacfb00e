#pragma once
// Turns encoded picture bytes into premultiplied ARGB32 surfaces. PNG goes through Cairo, JPEG
// through gdk-pixbuf's JPEG loader only: bytes of any other kind are refused rather than handed to a
// loader for an obscure format, since pictures may come from the network.

#include <cairo.h>
#include <cstdint>
#include <memory>
#include <string>

namespace ui {

using SurfacePtr = std::shared_ptr<cairo_surface_t>;

// Takes over the caller's reference; null for a null surface.
SurfacePtr adoptSurface(cairo_surface_t* surface);

// An ARGB32 surface of the given pixel size, cleared; null when it cannot be made.
SurfacePtr makeArgbSurface(int width, int height);

// The surface itself when it already is an ARGB32 image surface, else a premultiplied ARGB32 copy;
// null for error surfaces and non-image surfaces.
SurfacePtr asArgbSurface(cairo_surface_t* surface);

// Pictures wider or taller than 8192 pixels, or of more than 32 million pixels (128 MiB decoded),
// are refused before their pixels are decoded: a few bytes of a damaged or hostile file must not
// make the program allocate gigabytes.
inline constexpr uint64_t largestPicturePixels = 32 * 1024 * 1024;
bool pictureSizeIsAcceptable(uint64_t width, uint64_t height, uint64_t maxPixels = largestPicturePixels);

// The decoded picture, or null with `error` saying why. A JPEG cut off before its end decodes to the part
// that is there, with `error` saying so. A picture of more than `maxPixels` pixels is refused from its
// header, before its pixels are allocated.
SurfacePtr decodePicture(const std::string& bytes, std::string& error,
                         uint64_t maxPixels = largestPicturePixels);

} // namespace ui
