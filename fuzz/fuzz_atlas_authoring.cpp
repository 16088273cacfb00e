// The bundle generator's authoring file on any text. A file the reader cannot use must be refused with
// an AuthoringError (any other exception escapes and counts as a crash); a file it accepts must keep
// the promises the generator builds on: every region with a header and an "Anterior" view, aliases that
// name a view of their own region, views with artwork, boxes with a size, numbers that are numbers, and
// picture folders inside the bundle.

#include "AtlasReader.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

[[noreturn]] void fail(int line, const char* what) {
    std::fprintf(stderr, "fuzz_atlas_authoring: line %d: %s\n", line, what);
    std::abort();
}

bool finite(const atlas::Colour& colour) {
    return std::isfinite(colour.red) && std::isfinite(colour.green) && std::isfinite(colour.blue) &&
           std::isfinite(colour.alpha);
}

bool usable(const atlas::Box& box) {
    return std::isfinite(box.x) && std::isfinite(box.y) && std::isfinite(box.width) &&
           std::isfinite(box.height) && !box.empty();
}

bool hasView(const atlas::RegionSource& region, const std::string& header) {
    for (const atlas::ViewSource& view : region.views)
        if (view.header == header)
            return true;
    return false;
}

void checkView(const atlas::AtlasSource& source, const atlas::RegionSource& region,
               const atlas::ViewSource& view) {
    if (!view.alias.empty()) {
        if (!hasView(region, view.alias))
            fail(view.line, "an alias names no view of its region");
        return;
    }
    if (!source.findArtwork(view.artwork))
        fail(view.line, "a view's artwork is not defined");
    if ((view.window && !usable(*view.window)) || (view.clip && !usable(*view.clip)))
        fail(view.line, "a window or clip box has no size or is not a number");
    if (!std::isfinite(view.margin) || !std::isfinite(view.explode))
        fail(view.line, "a margin or explode factor is not a number");
    for (const atlas::ShapeUse& shape : view.shapes) {
        if (shape.colour && !finite(*shape.colour))
            fail(shape.line, "a shape's colour is not a number");
        if (shape.labelAt && (!std::isfinite(shape.labelAt->first) || !std::isfinite(shape.labelAt->second)))
            fail(shape.line, "a shape's flag position is not a number");
        if (shape.flagged && !source.findStructure(shape.structure))
            fail(shape.line, "a flagged shape names no structure");
    }
}

// The generator empties the pictures' folder and writes into the regions' folders below it.
bool insideTheBundle(const std::string& folder) {
    std::filesystem::path normal = std::filesystem::path(folder).lexically_normal();
    return !normal.is_absolute() && normal != "." && *normal.begin() != "..";
}

void checkRegion(const atlas::AtlasSource& source, const atlas::RegionSource& region) {
    if (region.header.empty())
        fail(region.line, "a region has no header");
    if (!region.folder.empty() && !insideTheBundle(region.folder))
        fail(region.line, "a region's folder lies outside the pictures' folder");
    if (!hasView(region, "Anterior"))
        fail(region.line, "a region has no \"Anterior\" view");
    for (const atlas::ViewSource& view : region.views)
        checkView(source, region, view);
    for (const atlas::RegionSource& sub : region.regions)
        checkRegion(source, sub);
}

void checkSource(const atlas::AtlasSource& source) {
    for (const atlas::Style& style : source.styles) {
        if (!std::isfinite(style.edge) || (style.body && !finite(*style.body)) || !finite(style.lines) ||
            (style.fill && !finite(*style.fill)))
            fail(0, "a style holds something that is not a number");
    }
    for (const atlas::Structure& structure : source.structures)
        if (!finite(structure.colour))
            fail(structure.line, "a structure's colour is not a number");
    if (!insideTheBundle(source.pictureFolder))
        fail(0, "the pictures' folder lies outside the bundle");
    checkRegion(source, source.top);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    try {
        checkSource(atlas::readAtlasText(text, "/nonexistent/fuzz.atlas"));
    } catch (const atlas::AuthoringError&) {
    }
    return 0;
}
