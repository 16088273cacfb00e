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
    ~Artwork();
    Artwork(const Artwork&) = delete;
    Artwork& operator=(const Artwork&) = delete;

    double width() const { return width_; }
    double height() const { return height_; }
    bool hasElement(const std::string& id) const;

    // ID drawn opaque into a raster of FRAME's size. An unknown ID gives an empty raster.
    Mask mask(const std::string& id, const ViewFrame& frame) const;
    // The box ID covers, in artwork units; empty for an unknown or invisible element.
    Box box(const std::string& id) const;
    // The area inside the silhouette, as FRAME sees it.
    Mask body(const ViewFrame& frame) const;

    struct Shape {
        std::string id;
        std::string title;
    };
    // The elements that carry a <title>: the drawing's named shapes, in document order.
    std::vector<Shape> titledShapes() const;

private:
    std::filesystem::path file_;
    RsvgHandle* handle_ = nullptr;
    double width_ = 0, height_ = 0;
    ViewFrame whole_;  // the whole drawing at a resolution fine enough for measuring
    Mask bodyOfWhole_; // the silhouette's inside, in whole_
    mutable std::map<std::string, Box> boxes_;
};

} // namespace atlas
