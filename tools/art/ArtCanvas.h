#pragma once
// A transparent drawing surface measured in points and backed by pixels at a fixed density.
// Drawing through `cr()` is in points; the files written hold the pixels.

#include <cairo.h>
#include <filesystem>
#include <memory>
#include <string>

namespace art {

class ArtCanvas {
public:
    ArtCanvas(double widthInPoints, double heightInPoints, int pixelsPerPoint = 2);

    cairo_t* cr() const { return cr_.get(); }
    cairo_surface_t* surface() const { return surface_.get(); }
    double width() const { return width_; }
    double height() const { return height_; }

    // Writes `bundle`/NAME@2x.png (the suffix follows the density), creating the folders in NAME.
    void writePng(const std::filesystem::path& bundle, const std::string& name) const;
    // Writes an opaque JPEG of the pixels at `path`, creating its folder.
    void writeJpeg(const std::filesystem::path& path, int quality) const;

private:
    double width_, height_;
    int pixelsPerPoint_;
    std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)> surface_;
    std::unique_ptr<cairo_t, decltype(&cairo_destroy)> cr_;
};

} // namespace art
