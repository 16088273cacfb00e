#include "AtlasBuilder.h"

#include "Artwork.h"
#include "AuthoringAdvice.h"
#include "IndentedText.h"
#include "Placement.h"
#include "ViewPainter.h"

#include <algorithm>
#include <set>

namespace atlas {

// What a drawn view leaves for its region's data and for placing its sub-regions on it.
struct ViewSummary {
    const ViewSource* view = nullptr;
    const Artwork* artwork = nullptr;
    ViewFrame frame;
    Box clip;
    std::map<std::string, Pixel> shifts;
    std::string src;
    std::vector<BuiltPoint> points;
};

namespace {

const ViewSource* findView(const RegionSource& region, const std::string& header) {
    auto found = std::ranges::find(region.views, header, &ViewSource::header);
    return found == region.views.end() ? nullptr : &*found;
}

std::vector<std::string> shapeIds(const ViewSource& view) {
    std::vector<std::string> ids;
    for (const ShapeUse& shape : view.shapes)
        ids.push_back(shape.id);
    return ids;
}

std::string regionEntryId(const RegionSource& region) {
    return "Label Region " + region.header;
}

std::string viewEntryId(const RegionSource& region, const ViewSource& view) {
    return "Label View " + region.header + " / " + view.header;
}

bool writePicture(cairo_surface_t* picture, const std::filesystem::path& file) {
    std::error_code error;
    std::filesystem::create_directories(file.parent_path(), error);
    return cairo_surface_write_to_png(picture, file.c_str()) == CAIRO_STATUS_SUCCESS;
}

} // namespace

AtlasBuilder::AtlasBuilder(const AtlasSource& source, std::filesystem::path bundle)
    : source_(source), bundle_(std::move(bundle)) {}

AtlasBuilder::~AtlasBuilder() = default;

void AtlasBuilder::fail(int line, const std::string& message) const {
    throw AuthoringError(source_.file.string(), line, message);
}

const Artwork& AtlasBuilder::artwork(const std::string& name) {
    auto& slot = artworks_[name];
    if (slot)
        return *slot;
    const ArtworkSource* source = source_.findArtwork(name);
    std::unique_ptr<Artwork> loaded;
    try {
        loaded = std::make_unique<Artwork>(source->file);
    } catch (const AuthoringError& error) {
        fail(source->line, std::string(error.what()) +
                               "; the artwork must be an SVG file, as the drawing program saves it");
    }
    try {
        loaded->setSilhouette(source->silhouette);
    } catch (const AuthoringError&) {
        fail(source->silhouetteLine, "the silhouette " + unknownElement(name, *loaded, source->silhouette) +
                                         "; name the element that outlines the body");
    }
    slot = std::move(loaded);
    return *slot;
}

std::string AtlasBuilder::unknownElement(const std::string& artworkName, const Artwork& art,
                                         const std::string& id) const {
    const ArtworkSource* source = source_.findArtwork(artworkName);
    return id + " is no element of the artwork \"" + artworkName + "\"" + art.didYouMean(id) +
           " (torvex-atlas --shapes " + source->file.string() + " lists them)";
}

void AtlasBuilder::checkShapesExist(const ViewSource& view, const Artwork& art) const {
    for (const ShapeUse& shape : view.shapes)
        if (!art.hasElement(shape.id))
            fail(shape.line, "the shape " + unknownElement(view.artwork, art, shape.id));
    for (const std::string& id : view.around)
        if (!art.hasElement(id))
            fail(view.line, "\"around\" names " + unknownElement(view.artwork, art, id));
}

// A parent drawn from several drawings may name hit shapes of any of them.
void AtlasBuilder::checkHitShapesExist(const RegionSource& child, const ViewSummary& shown,
                                       const RegionSource& parent) {
    for (const std::string& id : child.hit) {
        bool drawn = std::ranges::any_of(parent.views, [&](const ViewSource& view) {
            return view.alias.empty() && artwork(view.artwork).hasElement(id);
        });
        if (!drawn)
            fail(child.hitLine, "\"hit\" names " + unknownElement(shown.view->artwork, *shown.artwork, id) +
                                    "; its hit square would miss that part of region \"" + child.header +
                                    "\"");
    }
}

// A flag needs a shape large enough to find and press on the screen.
constexpr double smallestShapePixels = 12;

void AtlasBuilder::warnAboutSmallShape(const ViewSource& view, const DrawnShape& shape) {
    Box box = shape.coverage.bounds();
    if (std::max(box.width, box.height) >= smallestShapePixels)
        return;
    warnings_.push_back(
        {shape.use.line, shape.use.id + " is only " + std::to_string(int(box.width / 2 + 0.5)) + " x " +
                             std::to_string(int(box.height / 2 + 0.5)) + " points in view \"" + view.header +
                             "\", too small to find and press; show it in a closer view, "
                             "or mark it plain"});
}

BuiltAtlas AtlasBuilder::build() {
    std::error_code error;
    std::filesystem::remove_all(bundle_ / source_.pictureFolder, error);
    entries_.clear();
    BuiltAtlas built;
    built.top = buildRegion(source_.top, nullptr, {});
    addStructureEntries(built.top);
    built.entries = std::move(entries_);
    for (AuthoringWarning& advice : adviceOn(source_))
        warnings_.push_back(std::move(advice));
    return built;
}

BuiltRegion AtlasBuilder::buildRegion(const RegionSource& region, const RegionSource* parent,
                                      const Placement& placement) {
    std::string text = region.about;
    if (!parent && !source_.credit.empty())
        text += "***" + source_.credit;
    entries_.push_back({regionEntryId(region), region.header, region.latin, text});

    std::map<std::string, ViewSummary> summaries;
    for (const ViewSource& view : region.views) {
        if (view.alias.empty())
            summaries.emplace(view.header, paintAndWrite(region, view));
    }
    BuiltRegion built{region.header, {}, {}};
    for (const ViewSource& view : region.views)
        built.views.push_back(builtView(region, view, summaries, placement));

    std::vector<Placement> placements(region.regions.size());
    for (const ViewSource& view : region.views)
        placeChildren(region, view.header, summaries.at(shownView(region, view).header), placements);
    for (BuiltView& view : built.views) {
        bool parentHasIt = parent && findView(*parent, view.header);
        bool childrenHaveRings =
            std::ranges::any_of(placements, [&](const Placement& p) { return p.hits.contains(view.header); });
        view.offersHotspots = !view.hit && !parentHasIt && childrenHaveRings;
    }
    for (std::size_t i = 0; i < region.regions.size(); ++i)
        built.regions.push_back(buildRegion(region.regions[i], &region, placements[i]));
    return built;
}

const ViewSource& AtlasBuilder::shownView(const RegionSource& region, const ViewSource& view) const {
    const ViewSource* current = &view;
    std::set<std::string> passed;
    while (!current->alias.empty()) {
        if (!passed.insert(current->header).second)
            fail(view.line, "the view's aliases lead round in a circle");
        current = findView(region, current->alias);
    }
    return *current;
}

ViewSummary AtlasBuilder::paintAndWrite(const RegionSource& region, const ViewSource& view) {
    const Artwork& art = artwork(view.artwork);
    checkShapesExist(view, art);
    ViewPicture picture = paintView(source_, art, view);
    std::string relative = source_.pictureFolder + "/" + region.folder + "/" + view.header;
    if (!writePicture(picture.picture.get(), bundle_ / (relative + "@2x.png")))
        fail(view.line, "cannot write the picture " + (bundle_ / (relative + "@2x.png")).string());

    ViewSummary summary{&view, &art, picture.frame, picture.clip, picture.shifts, relative + ".png", {}};
    std::set<std::string> flagged;
    for (const DrawnShape& shape : picture.shapes) {
        if (shape.coverage.bounds().empty())
            fail(shape.use.line,
                 shape.use.id + " draws nothing in view \"" + view.header + "\": it lies outside the window");
        if (!shape.use.flagged || !flagged.insert(shape.use.structure).second)
            continue;
        warnAboutSmallShape(view, shape);
        std::string infoid = "Label " + shape.use.structure;
        if (shape.use.labelAt) {
            summary.points.push_back(
                pointAtPoints(shape.use.labelAt->first, shape.use.labelAt->second, infoid));
            continue;
        }
        auto spot = shape.visible.labelPoint(flagBand);
        if (!spot)
            spot = shape.coverage.labelPoint(flagBand);
        if (!spot)
            fail(shape.use.line, shape.use.id + " has no room for its flag in view \"" + view.header +
                                     "\": flags stand more than 28 points below the picture's top");
        if (!shape.use.behind && shape.visible.count() * 4 < shape.coverage.count())
            warnings_.push_back({shape.use.line, shape.use.id +
                                                     " is mostly hidden by the shapes above it in " +
                                                     region.header + " / " + view.header +
                                                     "; move it up the list, or mark it \"behind\" if "
                                                     "that is meant"});
        summary.points.push_back(pointAt(*spot, infoid));
    }
    std::ranges::sort(summary.points, [](const BuiltPoint& a, const BuiltPoint& b) {
        return a.y != b.y ? a.y < b.y : a.x < b.x;
    });
    return summary;
}

std::string AtlasBuilder::infoIdOf(const RegionSource& region, const ViewSource& view) {
    if (view.about.empty())
        return regionEntryId(region);
    std::string id = viewEntryId(region, view);
    entries_.push_back({id, view.header + " of " + region.header, "", view.about});
    return id;
}

BuiltView AtlasBuilder::builtView(const RegionSource& region, const ViewSource& view,
                                  const std::map<std::string, ViewSummary>& summaries,
                                  const Placement& placement) {
    const ViewSource& shown = shownView(region, view);
    const ViewSummary& summary = summaries.at(shown.header);
    BuiltView built;
    built.header = view.header;
    built.src = summary.src;
    if (!view.alias.empty()) {
        // An alias is only ever displayed when going back lands on it; it shows its target's picture
        // and text, but no flags: the index must never send the viewer into a view it does not show.
        built.realheader = view.alias;
        built.infoId = shown.about.empty() ? regionEntryId(region) : viewEntryId(region, shown);
    } else {
        built.v = view.base;
        built.points = summary.points;
        built.infoId = infoIdOf(region, view);
    }
    if (auto hit = placement.hits.find(view.header); hit != placement.hits.end())
        built.hit = hit->second;
    if (auto zoom = placement.zooms.find(view.header); zoom != placement.zooms.end())
        built.zoom = zoom->second;
    else if (auto shownZoom = placement.zooms.find(shown.header); shownZoom != placement.zooms.end())
        built.zoom = shownZoom->second;
    return built;
}

Mask AtlasBuilder::areaOfShapes(const ViewSummary& summary, const std::vector<std::string>& ids) const {
    Mask area(summary.frame.width(), summary.frame.height());
    for (const std::string& id : ids) {
        if (!summary.artwork->hasElement(id))
            continue;
        Mask mask = summary.artwork->mask(id, summary.frame);
        if (auto shift = summary.shifts.find(id); shift != summary.shifts.end())
            mask = mask.shifted(shift->second.x, shift->second.y);
        mask.keepInside(summary.clip);
        area.unite(mask);
    }
    return area;
}

BuiltZoom AtlasBuilder::zoomOf(const ViewSource& named, const ViewSummary& parent, const Box& hitBox) {
    const ViewSource& parentView = *parent.view;
    bool sameDrawing = named.alias.empty() && named.artwork == parentView.artwork &&
                       named.mirror == parentView.mirror && named.explode == 0 && parentView.explode == 0;
    if (!sameDrawing)
        return zoomFrom(pictureShaped(hitBox));
    ViewFrame child = frameOf(artwork(named.artwork), named);
    return zoomFrom(parent.frame.toPixels(child.window()));
}

void AtlasBuilder::placeChildren(const RegionSource& region, const std::string& viewName,
                                 const ViewSummary& shown, std::vector<Placement>& placements) {
    std::vector<Box> obstacles;
    for (const BuiltPoint& point : shown.points)
        obstacles.push_back(flagFrame(point));
    for (std::size_t i = 0; i < region.regions.size(); ++i) {
        const RegionSource& child = region.regions[i];
        const ViewSource* view = findView(child, viewName);
        if (!view || (!child.rings.empty() && std::ranges::find(child.rings, viewName) == child.rings.end()))
            continue;
        checkHitShapesExist(child, shown, region);
        std::vector<std::string> ids = child.hit.empty() ? shapeIds(shownView(child, *view)) : child.hit;
        Mask area = areaOfShapes(shown, ids);
        Box box = area.bounds();
        if (box.empty()) {
            warnings_.push_back({child.hit.empty() ? child.line : child.hitLine,
                                 "region \"" + child.header + "\" shows nowhere on the picture of " +
                                     region.header + " / " + viewName +
                                     ", so it gets no ring or title button there; name shapes of that "
                                     "picture with \"hit\", or leave the view out with \"rings\""});
            continue;
        }
        Box square = pressSquare(area, obstacles);
        obstacles.push_back(square);
        placements[i].hits[viewName] = hitFrom(square);
        placements[i].zooms[viewName] = zoomOf(*view, shown, box);
    }
}

void AtlasBuilder::addStructureEntries(const BuiltRegion& top) {
    std::set<std::string> used;
    auto collect = [&](auto& self, const BuiltRegion& region) -> void {
        for (const BuiltView& view : region.views)
            for (const BuiltPoint& point : view.points)
                used.insert(point.infoid);
        for (const BuiltRegion& sub : region.regions)
            self(self, sub);
    };
    collect(collect, top);
    for (const Structure& structure : source_.structures) {
        std::string id = "Label " + structure.key;
        if (!used.contains(id)) {
            warnings_.push_back({structure.line, "structure " + structure.key + " (" + structure.title +
                                                     ") is flagged in no view, so it is in no index; "
                                                     "list it under a view's shapes, or remove it"});
            continue;
        }
        entries_.push_back({id, structure.title, structure.latin, structure.about});
    }
}

} // namespace atlas
