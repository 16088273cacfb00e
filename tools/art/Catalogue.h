#pragma once
// Every picture the program names, with its size in points and how it is drawn.

#include <cairo.h>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace art {

struct Artwork {
    std::string name; // bundle-relative, without the density suffix and ".png"
    double width, height;
    std::function<void(cairo_t*)> draw;
};

// The PNG pictures, written as NAME@2x.png.
std::vector<Artwork> pngArtwork();

// The start picture "torvexStart.jpg": 640 x 960 pixels, one point per pixel as a JPEG.
constexpr const char* startPictureName = "torvexStart.jpg";

// Draws everything into `bundle`; returns the number of files written.
int writeBundleArtwork(const std::filesystem::path& bundle);

} // namespace art
