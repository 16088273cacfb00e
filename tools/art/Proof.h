#pragma once
// Helpers of the proof sheets: pictures read back from the bundle and drawn the way the viewer
// draws them (parts, stretched by caps, the centred bubble composed from its sheet).

#include <cairo.h>
#include <filesystem>
#include <memory>
#include <string>

namespace art::proof {

using SurfacePtr = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;

struct Picture {
    SurfacePtr surface{nullptr, cairo_surface_destroy};
    double scale = 2;
    double width() const { return cairo_image_surface_get_width(surface.get()) / scale; }
    double height() const { return cairo_image_surface_get_height(surface.get()) / scale; }
};

// NAME@2x.png of the bundle; throws when it cannot be read.
Picture loadPicture(const std::filesystem::path& bundle, const std::string& name);
// The start picture decoded from the bundle's JPEG, one point per two pixels as the screen shows it.
Picture loadStartPicture(const std::filesystem::path& bundle);

// Draws the part (sx, sy, sw, sh) of the picture into (tx, ty, tw, th), all in points.
void drawPart(cairo_t* cr, const Picture& picture, double sx, double sy, double sw, double sh, double tx,
              double ty, double tw, double th);
// A part of a picture stretched by caps: `leftCap` columns stay, one column stretches, the rest
// stays; the same for rows with `topCap`.
void drawStretched(cairo_t* cr, const Picture& picture, double sx, double sy, double sw, double sh,
                   double leftCap, double topCap, double tx, double ty, double tw, double th);
// The centred bubble of `width`, composed from the sheet exactly as the viewer composes it.
void drawCentredBubble(cairo_t* cr, const Picture& sheet, int width, double x, double y);

// The grounds a picture is proofed on: black, white, or a flesh-coloured gradient.
enum class Ground { Black, White, Flesh };
void paintGround(cairo_t* cr, Ground ground, double y, double w, double h);

// The sheets, each written as OUT/NAME@2x.png.
void writeContactSheet(const std::filesystem::path& bundle, const std::filesystem::path& out, Ground ground,
                       double zoom, const std::string& name);
void writeBubbleSheet(const std::filesystem::path& bundle, const std::filesystem::path& out);
void writeHelpSheet(const std::filesystem::path& bundle, const std::filesystem::path& out);
void writeStartSheet(const std::filesystem::path& bundle, const std::filesystem::path& out);

} // namespace art::proof
