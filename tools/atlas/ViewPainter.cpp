#include "ViewPainter.h"

#include <algorithm>
#include <cmath>

namespace atlas {

namespace {

void paintThrough(cairo_t* cr, const Mask& mask, const Colour& colour) {
    auto surface = mask.surface();
    cairo_set_source_rgba(cr, colour.red, colour.green, colour.blue, colour.alpha);
    cairo_mask_surface(cr, surface.get(), 0, 0);
}

Mask inverted(const Mask& mask) {
    Mask result(mask.width(), mask.height());
    for (int y = 0; y < mask.height(); ++y)
        for (int x = 0; x < mask.width(); ++x)
            result.at(x, y) = static_cast<std::uint8_t>(255 - mask.at(x, y));
    return result;
}

void paintOutline(cairo_t* cr, const Artwork& artwork, const ArtworkSource& source, const ViewFrame& frame,
                  const Box& clip, const Style& style, const Mask& body) {
    if (style.outline == Outline::None)
        return;
    Mask lines = artwork.paintedMask(source.silhouette, frame);
    lines.keepInside(clip);
    if (style.outline == Outline::Contour)
        lines = Mask::strokesTouching(lines, inverted(body));
    paintThrough(cr, lines, style.lines);
}

Colour colourOf(const AtlasSource& atlas, const Style& style, const ShapeUse& use) {
    if (use.colour)
        return *use.colour;
    if (style.fill)
        return *style.fill;
    if (const Structure* structure = atlas.findStructure(use.structure))
        return structure->colour;
    return {0.55, 0.57, 0.6, 1};
}

void findVisibleParts(std::vector<DrawnShape>& shapes, const std::vector<double>& opacity) {
    if (shapes.empty())
        return;
    Mask cover(shapes.front().coverage.width(), shapes.front().coverage.height());
    for (std::size_t i = shapes.size(); i-- > 0;) {
        shapes[i].visible = shapes[i].coverage;
        shapes[i].visible.subtract(cover);
        cover.unite(shapes[i].coverage, opacity[i]);
    }
}

} // namespace

namespace {

std::vector<std::string> idsToFit(const ViewSource& view) {
    std::vector<std::string> ids = view.around;
    if (ids.empty())
        std::ranges::transform(view.shapes, std::back_inserter(ids), &ShapeUse::id);
    return ids;
}

} // namespace

std::map<std::string, std::pair<double, double>> explodeShifts(const Artwork& artwork,
                                                               const ViewSource& view) {
    std::map<std::string, std::pair<double, double>> shifts;
    if (view.explode == 0)
        return shifts;
    Box middle;
    for (const std::string& id : idsToFit(view))
        middle = middle.united(artwork.box(id));
    for (const ShapeUse& shape : view.shapes) {
        Box own = artwork.box(shape.id);
        if (!own.empty() && !shape.still)
            shifts[shape.id] = {view.explode * (own.centreX() - middle.centreX()),
                                view.explode * (own.centreY() - middle.centreY())};
    }
    return shifts;
}

ViewFrame frameOf(const Artwork& artwork, const ViewSource& view) {
    if (view.window)
        return ViewFrame(*view.window, view.mirror);
    auto shifts = explodeShifts(artwork, view);
    std::vector<std::string> ids = idsToFit(view);
    for (const auto& moving : shifts)
        ids.push_back(moving.first); // an exploded view keeps every part that moved in sight
    Box around;
    for (const std::string& id : ids) {
        Box box = artwork.box(id);
        if (auto shift = shifts.find(id); shift != shifts.end() && !box.empty()) {
            box.x += shift->second.first;
            box.y += shift->second.second;
        }
        around = around.united(box);
    }
    if (around.empty())
        around = {0, 0, artwork.width(), artwork.height()};
    double margin = view.margin * std::max(around.width, around.height);
    return ViewFrame(
        {around.x - margin, around.y - margin, around.width + 2 * margin, around.height + 2 * margin},
        view.mirror);
}

Style styleOf(const AtlasSource& atlas, const ViewSource& view) {
    const Style* named = atlas.findStyle(view.style);
    return named ? *named : Style{};
}

ViewPicture paintView(const AtlasSource& atlas, const Artwork& artwork, const ViewSource& view) {
    ViewPicture result;
    result.frame = frameOf(artwork, view);
    const ViewFrame& frame = result.frame;
    const Style style = styleOf(atlas, view);
    const ArtworkSource& source = *atlas.findArtwork(view.artwork);

    result.clip =
        view.clip ? frame.toPixels(*view.clip) : Box{0, 0, double(frame.width()), double(frame.height())};
    for (const ShapeUse& use : view.shapes) {
        result.shapes.push_back({use, artwork.mask(use.id, frame), {}});
        result.shapes.back().coverage.keepInside(result.clip);
    }
    double k = frame.pixelsPerUnit();
    for (const auto& [id, shift] : explodeShifts(artwork, view))
        result.shifts[id] = {int(std::lround((view.mirror ? -k : k) * shift.first)),
                             int(std::lround(k * shift.second))};
    for (DrawnShape& shape : result.shapes) {
        if (auto shift = result.shifts.find(shape.use.id); shift != result.shifts.end())
            shape.coverage = shape.coverage.shifted(shift->second.x, shift->second.y);
    }
    std::vector<double> opacity;
    for (const DrawnShape& shape : result.shapes)
        opacity.push_back(colourOf(atlas, style, shape.use).alpha);
    findVisibleParts(result.shapes, opacity);

    result.picture.reset(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, frame.width(), frame.height()));
    cairo_t* cr = cairo_create(result.picture.get());
    Mask body = artwork.body(frame);
    body.keepInside(result.clip);
    if (style.body)
        paintThrough(cr, body, *style.body);
    paintOutline(cr, artwork, source, frame, result.clip, style, body);
    int rim = int(std::lround(style.edge));
    for (const DrawnShape& shape : result.shapes) {
        Colour colour = colourOf(atlas, style, shape.use);
        paintThrough(cr, shape.coverage, colour);
        if (rim > 0)
            paintThrough(cr, shape.coverage.rim(rim), colour.darker(0.62));
    }
    cairo_destroy(cr);
    cairo_surface_flush(result.picture.get());
    return result;
}

} // namespace atlas
