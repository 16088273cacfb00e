#pragma once
// One SVG drawing, read with librsvg. Every element is rendered as a coverage mask (opaque, whatever its
// own style says) so that the generator can colour, stack and measure shapes itself. The body's
// silhouette (the area enclosed by the artwork's outline element) is found once for the whole drawing.

#include "Mask.h"
#include "ViewFrame.h"

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

typedef struct _RsvgHandle RsvgHandle;

namespace atlas {

class Artwork {
public:
    // Throws AuthoringError when the file cannot be read or SILHOUETTE is not one of its elements. An
    // empty SILHOUETTE gives a drawing without a body, enough for measuring shapes.
    Artwork(const std::filesystem::path& file, const std::string& silhouette);
    // The drawing without a body yet; throws AuthoringError when the file cannot be read.
    explicit Artwork(const std::filesystem::path& file);
    // Makes the area enclosed by ID the body; throws AuthoringError when the drawing has no such element.
    void setSilhouette(const std::string& id);
    ~Artwork();
    Artwork(const Artwork&) = delete;
    Artwork& operator=(const Artwork&) = delete;

    double width() const { return width_; }
    double height() const { return height_; }
    bool hasElement(const std::string& id) const;

    // ID drawn opaque into a raster of FRAME's size. An unknown ID gives an empty raster.
    Mask mask(const std::string& id, const ViewFrame& frame) const;
    // ID as the drawing paints it (fills and strokes it leaves out stay out), fully opaque: a
    // silhouette drawn as an unfilled stroke stays a line.
    Mask paintedMask(const std::string& id, const ViewFrame& frame) const;
    // The box ID covers, in artwork units; empty for an unknown or invisible element.
    Box box(const std::string& id) const;
    // The area inside the silhouette, as FRAME sees it.
    Mask body(const ViewFrame& frame) const;

    struct Shape {
        std::string id;
        std::string label; // inkscape:label, as the drawing program's layers panel shows it
        std::string title; // the <title> child's text
    };
    // Every element with an id, in document order (the root and definitions' children too).
    std::vector<Shape> namedShapes() const;
    // The box ID covers with its own geometry and transforms, in artwork units, without rendering it;
    // empty for an unknown or empty element.
    Box geometry(const std::string& id) const;
    // Up to COUNT ids of the drawing nearest to ID in spelling, nearest first: suggestions for a typo.
    std::vector<std::string> nearestIds(const std::string& id, std::size_t count = 3) const;
    // " (did you mean A, B or C?)" for an unknown ID, empty when the drawing has no ids at all.
    std::string didYouMean(const std::string& id) const;

private:
    std::filesystem::path file_;
    RsvgHandle* handle_ = nullptr;
    RsvgHandle* paintedHandle_ = nullptr; // the same drawing with its own paint, for outlines
    mutable std::vector<Shape> shapes_;
    mutable bool shapesScanned_ = false;
    double width_ = 0, height_ = 0;
    ViewFrame whole_;  // the whole drawing at a resolution fine enough for measuring
    Mask bodyOfWhole_; // the silhouette's inside, in whole_
    mutable std::map<std::string, Box> boxes_;
};

} // namespace atlas
