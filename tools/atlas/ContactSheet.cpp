#include "ContactSheet.h"

#include <cairo.h>
#include <string>
#include <vector>

namespace atlas {

namespace {

constexpr int columns = 6, tileWidth = 200, tileHeight = 262, captionHeight = 28;
constexpr double tileScale = tileWidth / 480.0; // design units to tile pixels (480 design = 320 points)

struct Tile {
    std::string caption;
    std::filesystem::path picture;
    const BuiltView* view;
    std::vector<const BuiltHit*> hits;
};

void collectTiles(const BuiltRegion& region, const std::filesystem::path& bundle, std::vector<Tile>& tiles) {
    for (const BuiltView& view : region.views) {
        if (!view.realheader.empty())
            continue;
        std::string src = view.src;
        src.insert(src.size() - 4, "@2x");
        Tile tile{region.header + ": " + view.header, bundle / src, &view, {}};
        for (const BuiltRegion& sub : region.regions)
            for (const BuiltView& subView : sub.views)
                if (subView.header == view.header && subView.hit)
                    tile.hits.push_back(&*subView.hit);
        tiles.push_back(tile);
    }
    for (const BuiltRegion& sub : region.regions)
        collectTiles(sub, bundle, tiles);
}

void drawTile(cairo_t* cr, const Tile& tile, bool dark) {
    cairo_set_source_rgb(cr, dark ? 0 : 1, dark ? 0 : 1, dark ? 0 : 1);
    cairo_rectangle(cr, 0, 0, tileWidth, tileHeight);
    cairo_fill(cr);
    cairo_surface_t* picture = cairo_image_surface_create_from_png(tile.picture.c_str());
    if (cairo_surface_status(picture) == CAIRO_STATUS_SUCCESS) {
        cairo_save(cr);
        double k = double(tileWidth) / cairo_image_surface_get_width(picture);
        cairo_scale(cr, k, k);
        cairo_set_source_surface(cr, picture, 0, 0);
        cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
        cairo_paint(cr);
        cairo_restore(cr);
    }
    cairo_surface_destroy(picture);
    cairo_set_line_width(cr, 1);
    for (const BuiltHit* hit : tile.hits) {
        cairo_set_source_rgba(cr, 0.1, 0.75, 0.95, 0.9);
        cairo_rectangle(cr, hit->x * tileScale, hit->y * tileScale, hit->width * tileScale,
                        hit->height * tileScale);
        cairo_stroke(cr);
        cairo_arc(cr, hit->sx * tileScale, hit->sy * tileScale, 3, 0, 6.2832);
        cairo_fill(cr);
    }
    for (const BuiltPoint& point : tile.view->points) {
        // Points count from the top of the screen; the picture starts 45 design units lower.
        cairo_arc(cr, point.x * tileScale, (point.y - pictureTopInDesign) * tileScale, 2.5, 0, 6.2832);
        cairo_set_source_rgb(cr, 0.95, 0.1, 0.1);
        cairo_fill_preserve(cr);
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_set_line_width(cr, 0.8);
        cairo_stroke(cr);
    }
}

} // namespace

bool writeContactSheet(const BuiltAtlas& atlas, const std::filesystem::path& bundle,
                       const std::filesystem::path& output) {
    std::vector<Tile> tiles;
    collectTiles(atlas.top, bundle, tiles);
    int rows = int((tiles.size() + columns - 1) / columns);
    cairo_surface_t* sheet = cairo_image_surface_create(CAIRO_FORMAT_RGB24, columns * (tileWidth + 4),
                                                        rows * (tileHeight + captionHeight));
    cairo_t* cr = cairo_create(sheet);
    cairo_set_source_rgb(cr, 0.35, 0.37, 0.4);
    cairo_paint(cr);
    for (std::size_t i = 0; i < tiles.size(); ++i) {
        int column = int(i % columns), row = int(i / columns);
        cairo_save(cr);
        cairo_translate(cr, column * (tileWidth + 4) + 2, row * (tileHeight + captionHeight));
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
        cairo_set_font_size(cr, 11);
        cairo_move_to(cr, 2, 12);
        cairo_show_text(cr, tiles[i].caption.c_str());
        cairo_translate(cr, 0, captionHeight - 10);
        drawTile(cr, tiles[i], (row + column) % 2 == 0);
        cairo_restore(cr);
    }
    cairo_destroy(cr);
    bool written = cairo_surface_write_to_png(sheet, output.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(sheet);
    return written;
}

} // namespace atlas
