#pragma once
// The atlas as the data file holds it: regions with their views, flag points, hit areas and zoom
// placement in design units (1.5 times the screen's points), and the information entries.

#include <optional>
#include <string>
#include <vector>

namespace atlas {

struct BuiltPoint {
    double x = 0, y = 0; // y measured from the top of the screen, as the flags read it
    std::string infoid;
};

struct BuiltHit {
    double x = 0, y = 0, width = 0, height = 0; // y measured from the top of the picture area
    double sx = 0, sy = 0;                      // ring centre
    double sscale = 100;
};

struct BuiltZoom {
    double x = 0, y = 0; // where the region's picture starts inside its parent's picture
    double scale = 100;  // its size there, in percent
};

struct BuiltView {
    std::string header;
    std::string src;        // bundle-relative picture path
    std::string realheader; // set for an alias
    std::string v;          // base view of a derived view
    std::string infoId;
    std::vector<BuiltPoint> points;
    std::optional<BuiltHit> hit;
    std::optional<BuiltZoom> zoom;
    bool offersHotspots = false; // a view with sub-region rings and no hit area of its own
};

struct BuiltRegion {
    std::string header;
    std::vector<BuiltView> views;
    std::vector<BuiltRegion> regions;
};

struct BuiltEntry {
    std::string id, title, latin, text;
};

struct BuiltAtlas {
    BuiltRegion top;
    std::vector<BuiltEntry> entries;
};

// Design units from the pixels of a 2x view picture.
constexpr double designPerPixel = 0.75;
// The picture area starts this far below the top of the screen, in design units.
constexpr double pictureTopInDesign = 45;

} // namespace atlas
