#pragma once
// What an authoring file says: the artworks, the drawing styles, the structures with their names and
// descriptions, and the tree of regions with the views that make up each region's pictures. The syntax
// is described in README.md beside this file.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace atlas {

struct Colour {
    double red = 0, green = 0, blue = 0, alpha = 1;

    // "#rrggbb" with an optional opacity word after it ("0.6"); nullopt when the text is neither.
    static std::optional<Colour> parse(const std::string& hex, const std::string& opacity = "");
    Colour darker(double factor) const { return {red * factor, green * factor, blue * factor, alpha}; }
};

// An axis-aligned rectangle in whatever units its user says.
struct Box {
    double x = 0, y = 0, width = 0, height = 0;

    bool empty() const { return width <= 0 || height <= 0; }
    double right() const { return x + width; }
    double bottom() const { return y + height; }
    double centreX() const { return x + width / 2; }
    double centreY() const { return y + height / 2; }
    Box united(const Box& other) const;
};

struct ArtworkSource {
    std::string name;
    std::filesystem::path file;
    std::string silhouette; // the element whose enclosed area is the body
    int line = 0;
    int silhouetteLine = 0;
};

// How a view's picture is drawn: the silhouette, the artwork's own line drawing and the shapes.
enum class Outline { Lines, Contour, None };

struct Style {
    std::string name;
    std::optional<Colour> body = Colour{0.945, 0.906, 0.863, 1};
    Colour lines{0.60, 0.63, 0.66, 1};
    Outline outline = Outline::Lines;
    std::optional<Colour> fill; // one colour for every shape instead of each structure's own
    double edge = 2;            // rim width in pixels of the picture
};

// A named structure of the atlas: one information entry, the target of flag points.
struct Structure {
    std::string key; // usually the artwork's shape id; the entry's id is "Label " + key
    std::string title;
    std::string latin;
    std::string about;
    Colour colour{0.55, 0.55, 0.6, 1};
    int line = 0;
};

// One shape drawn in a view, bottom to top in the order listed.
struct ShapeUse {
    std::string id;        // element id in the artwork
    std::string structure; // key of the structure it shows (its colour and, when flagged, its entry)
    bool flagged = true;   // false: drawn plain, without a flag
    bool still = false;    // stays in place in an exploded view
    bool behind = false;   // mostly hidden by the shapes above it, on purpose
    std::optional<Colour> colour;
    std::optional<std::pair<double, double>> labelAt; // flag position in picture points, when set by hand
    int line = 0;
};

struct ViewSource {
    std::string header;
    std::string alias; // the view shown instead ("realheader"); empty for a view with its own picture
    std::string base;  // the "v" attribute
    std::string artwork;
    std::optional<Box> window;       // in artwork units; empty: fit around shapes
    std::vector<std::string> around; // the shapes to fit around; empty: all the view's shapes
    std::optional<Box> clip; // draw only inside this box (artwork units), for drawings with several figures
    double margin = 0.12;    // room around them, as a part of their larger side
    bool mirror = false;
    double explode = 0;
    std::string style;
    std::string about;
    std::vector<ShapeUse> shapes;
    int line = 0;
};

struct RegionSource {
    std::string header;
    std::string latin;
    std::string about;
    std::string folder;
    std::vector<std::string> hit;   // shapes that mark the region on its parent's pictures
    std::vector<std::string> rings; // the parent's views it is pressable in; empty: all it can be
    std::vector<ViewSource> views;
    std::vector<RegionSource> regions;
    int line = 0;
    int hitLine = 0, ringsLine = 0;
};

struct AtlasSource {
    std::filesystem::path file;
    std::string title;
    std::string credit;
    std::string pictureFolder = "atlas";
    std::vector<ArtworkSource> artworks;
    std::vector<Style> styles;
    std::vector<Structure> structures;
    RegionSource top;

    const ArtworkSource* findArtwork(const std::string& name) const;
    const Style* findStyle(const std::string& name) const;
    const Structure* findStructure(const std::string& key) const;
};

} // namespace atlas
