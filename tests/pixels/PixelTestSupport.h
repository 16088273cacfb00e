#pragma once
// Small pictures made on the spot for the pixel tests, and ways to read pixels back.

#include "Platform/Image.h"
#include "tests/support/TemporaryFolder.h"

#include <cairo.h>
#include <cstdint>
#include <string>

namespace pixeltest {

struct Rgba {
    int r = 0, g = 0, b = 0, a = 0;
    friend bool operator==(const Rgba&, const Rgba&) = default;
};

// Writers of small files; they make the folders a file goes into.

// Writes a PNG of `width` x `height` pixels filled with one opaque colour.
void writeSolidPng(const std::string& path, int width, int height, Rgba color,
                   cairo_format_t format = CAIRO_FORMAT_ARGB32);
// Writes a JPEG of one colour through gdk-pixbuf.
void writeSolidJpeg(const std::string& path, int width, int height, Rgba color);
void writeBytes(const std::string& path, const std::string& bytes);

// The unpremultiplied colour of one pixel of an ARGB32 surface.
Rgba pixelAt(cairo_surface_t* surface, int x, int y);
// True when every channel differs by at most `tolerance`.
bool near(Rgba a, Rgba b, int tolerance = 2);

} // namespace pixeltest
