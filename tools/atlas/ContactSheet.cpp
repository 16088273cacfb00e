#include "ContactSheet.h"

#include "Platform/Font.h"

#include <algorithm>
#include <cairo-pdf.h>
#include <cairo.h>
#include <cmath>
#include <map>
#include <memory>

namespace atlas {

namespace {

constexpr double pageWidth = 842, pageHeight = 595; // A4 across, in points
constexpr double margin = 24, titleHeight = 30;
constexpr double pictureScale = 1.25; // picture points to sheet points
constexpr double legendLeft = margin + 320 * pictureScale + 24;
constexpr double legendLine = 14, legendFontSize = 10.5;
constexpr int pngColumns = 2;

struct Page {
    std::string title;
    std::filesystem::path picture;
    const BuiltView* view = nullptr; // the view whose flags are drawn; none for an alias
    std::vector<std::pair<std::string, const BuiltHit*>> hits; // sub-region header, its hit area
};

using Names = std::map<std::string, const BuiltEntry*>;

void collectPages(const BuiltRegion& region, const std::filesystem::path& bundle, std::vector<Page>& pages) {
    for (const BuiltView& view : region.views) {
        std::string src = view.src;
        if (src.size() > 4)
            src.insert(src.size() - 4, "@2x");
        Page page{region.header + " / " + view.header, bundle / src, &view, {}};
        if (!view.realheader.empty()) {
            page.title += "  (alias: shows \"" + view.realheader + "\" without flags)";
            page.view = nullptr;
        }
        for (const BuiltRegion& sub : region.regions)
            for (const BuiltView& subView : sub.views)
                if (subView.header == view.header && subView.hit)
                    page.hits.emplace_back(sub.header, &*subView.hit);
        pages.push_back(page);
    }
    for (const BuiltRegion& sub : region.regions)
        collectPages(sub, bundle, pages);
}

// Text wraps within WIDTH when LINES is 0.
void text(cairo_t* cr, const std::string& words, double x, double y, double width, double size,
          ui::Color colour = ui::Color::black(), ui::FontStyle style = ui::FontStyle::Regular,
          int lines = 1) {
    ui::TextStyle textStyle;
    textStyle.font = {size, style};
    textStyle.color = colour;
    textStyle.numberOfLines = lines;
    double height = lines > 0 ? lines * ui::lineHeight(textStyle.font)
                              : ui::textSize(words, textStyle.font, width).height;
    ui::drawText(cr, words, textStyle, ui::Rect(x, y, width, height));
    cairo_new_path(cr); // no line from where the text ended to the next shape
}

void drawPicture(cairo_t* cr, const std::filesystem::path& file) {
    cairo_set_source_rgb(cr, 0.2, 0.2, 0.22);
    cairo_rectangle(cr, 0, 0, 320, 420);
    cairo_fill(cr);
    cairo_surface_t* picture = cairo_image_surface_create_from_png(file.c_str());
    if (cairo_surface_status(picture) == CAIRO_STATUS_SUCCESS) {
        cairo_save(cr);
        double k = 320.0 / cairo_image_surface_get_width(picture);
        cairo_scale(cr, k, k);
        cairo_set_source_surface(cr, picture, 0, 0);
        cairo_paint(cr);
        cairo_restore(cr);
    }
    cairo_surface_destroy(picture);
}

// Hit areas count from the top of the picture, in design units (1.5 per point).
void drawHits(cairo_t* cr, const Page& page) {
    for (const auto& [name, hit] : page.hits) {
        double x = hit->x / 1.5, y = hit->y / 1.5, width = hit->width / 1.5, height = hit->height / 1.5;
        cairo_set_source_rgba(cr, 0.05, 0.55, 0.85, 0.18);
        cairo_rectangle(cr, x, y, width, height);
        cairo_fill_preserve(cr);
        cairo_set_source_rgb(cr, 0.05, 0.55, 0.85);
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
        cairo_new_path(cr);
        cairo_arc(cr, hit->sx / 1.5, hit->sy / 1.5, 2.5, 0, 2 * M_PI);
        cairo_fill(cr);
        cairo_set_source_rgba(cr, 1, 1, 1, 0.85);
        double labelWidth = ui::textWidth(name, ui::Font::boldSystem(7)) + 4;
        cairo_rectangle(cr, x, y, labelWidth, 10);
        cairo_fill(cr);
        text(cr, name, x + 2, y, labelWidth, 7, {0.02, 0.35, 0.6, 1}, ui::FontStyle::Bold);
    }
}

// Flags count from the top of the screen, 30 points above the picture.
void drawFlags(cairo_t* cr, const BuiltView& view) {
    for (std::size_t i = 0; i < view.points.size(); ++i) {
        double x = view.points[i].x / 1.5, y = view.points[i].y / 1.5 - 30;
        cairo_new_path(cr);
        cairo_arc(cr, x, y, 6.5, 0, 2 * M_PI);
        cairo_set_source_rgb(cr, 0.85, 0.08, 0.08);
        cairo_fill_preserve(cr);
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_set_line_width(cr, 0.8);
        cairo_stroke(cr);
        std::string number = std::to_string(i + 1);
        ui::TextStyle style;
        style.font = ui::Font::boldSystem(7.5);
        style.color = ui::Color::white();
        style.alignment = ui::TextAlignment::Center;
        ui::drawText(cr, number, style, ui::Rect(x - 6, y - 5, 12, 10));
    }
}

void drawLegend(cairo_t* cr, const Page& page, const Names& names) {
    double y = margin + titleHeight, columnWidth = (pageWidth - legendLeft - margin) / 2;
    int perColumn = int((pageHeight - y - margin) / legendLine);
    int row = 0;
    auto line = [&](const std::string& words, ui::Color colour, ui::FontStyle style) {
        double x = legendLeft + (row / perColumn) * columnWidth;
        if (row / perColumn < 2)
            text(cr, words, x, y + (row % perColumn) * legendLine, columnWidth - 6, legendFontSize, colour,
                 style);
        ++row;
    };
    if (page.view) {
        line("Flags", ui::Color::black(), ui::FontStyle::Bold);
        for (std::size_t i = 0; i < page.view->points.size(); ++i) {
            auto entry = names.find(page.view->points[i].infoid);
            std::string name = entry == names.end() ? page.view->points[i].infoid : entry->second->title;
            line(std::to_string(i + 1) + "  " + name, ui::Color::black(), ui::FontStyle::Regular);
            if (entry != names.end() && entry->second->latin.size() > 1)
                line("     " + entry->second->latin, ui::Color::gray(), ui::FontStyle::Italic);
        }
    }
    if (!page.hits.empty()) {
        line("Hit areas (regions inside)", {0.02, 0.35, 0.6, 1}, ui::FontStyle::Bold);
        for (const auto& hit : page.hits)
            line("    " + hit.first, {0.02, 0.35, 0.6, 1}, ui::FontStyle::Regular);
    }
}

void drawViewPage(cairo_t* cr, const Page& page, const Names& names) {
    text(cr, page.title, margin, margin, pageWidth - 2 * margin, 15, ui::Color::black(), ui::FontStyle::Bold);
    cairo_save(cr);
    cairo_translate(cr, margin, margin + titleHeight);
    cairo_scale(cr, pictureScale, pictureScale);
    drawPicture(cr, page.picture);
    drawHits(cr, page);
    if (page.view)
        drawFlags(cr, *page.view);
    cairo_restore(cr);
    drawLegend(cr, page, names);
}

void drawWarningsPage(cairo_t* cr, const std::vector<std::string>& warnings, std::size_t views) {
    text(cr, "Proof sheet: " + std::to_string(views) + " views", margin, margin, pageWidth - 2 * margin, 15,
         ui::Color::black(), ui::FontStyle::Bold);
    std::string heading = warnings.empty()
                              ? "The build gave no warnings."
                              : "Warnings of the build (" + std::to_string(warnings.size()) + "):";
    text(cr, heading, margin, margin + titleHeight, pageWidth - 2 * margin, 12);
    double y = margin + titleHeight + 22;
    ui::Font font = ui::Font::system(8);
    for (const std::string& warning : warnings) {
        ui::Size size = ui::textSize(warning, font, pageWidth - 2 * margin);
        if (y + size.height > pageHeight - margin) {
            text(cr, "... and more; the build's output lists them all", margin, y, pageWidth - 2 * margin, 9);
            break;
        }
        text(cr, warning, margin, y, pageWidth - 2 * margin, 8, {0.55, 0.25, 0, 1}, ui::FontStyle::Regular,
             0);
        y += size.height + 2;
    }
}

void drawPage(cairo_t* cr, std::size_t index, const std::vector<Page>& pages, const Names& names,
              const std::vector<std::string>& warnings) {
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_rectangle(cr, 0, 0, pageWidth, pageHeight);
    cairo_fill(cr);
    if (index == 0)
        drawWarningsPage(cr, warnings, pages.size());
    else
        drawViewPage(cr, pages[index - 1], names);
}

// The indices of the pages to draw: 0 is the warnings' page, i the view page pages[i - 1].
std::vector<std::size_t> chosenPages(std::size_t count, PageRange range) {
    std::vector<std::size_t> chosen;
    for (std::size_t i = 0; i < count; ++i)
        if (i + 1 >= range.first && i + 1 <= range.last)
            chosen.push_back(i);
    return chosen;
}

bool writePdf(const std::vector<Page>& pages, const Names& names, const std::vector<std::string>& warnings,
              const std::vector<std::size_t>& chosen, const std::filesystem::path& output) {
    cairo_surface_t* surface = cairo_pdf_surface_create(output.c_str(), pageWidth, pageHeight);
    cairo_t* cr = cairo_create(surface);
    for (std::size_t page : chosen) {
        drawPage(cr, page, pages, names, warnings);
        cairo_show_page(cr);
    }
    cairo_destroy(cr);
    cairo_surface_finish(surface);
    bool written = cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    return written;
}

bool writePng(const std::vector<Page>& pages, const Names& names, const std::vector<std::string>& warnings,
              const std::vector<std::size_t>& chosen, const std::filesystem::path& output) {
    std::size_t count = std::max<std::size_t>(chosen.size(), 1);
    int rows = int((count + pngColumns - 1) / pngColumns);
    cairo_surface_t* sheet = cairo_image_surface_create(CAIRO_FORMAT_RGB24, int(pngColumns * (pageWidth + 8)),
                                                        int(rows * (pageHeight + 8)));
    cairo_t* cr = cairo_create(sheet);
    cairo_set_source_rgb(cr, 0.5, 0.52, 0.55);
    cairo_paint(cr);
    for (std::size_t i = 0; i < chosen.size(); ++i) {
        cairo_save(cr);
        cairo_translate(cr, double(i % pngColumns) * (pageWidth + 8) + 4,
                        double(i / pngColumns) * (pageHeight + 8) + 4);
        drawPage(cr, chosen[i], pages, names, warnings);
        cairo_restore(cr);
    }
    cairo_destroy(cr);
    bool written = cairo_surface_write_to_png(sheet, output.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(sheet);
    return written;
}

} // namespace

bool writeContactSheet(const BuiltAtlas& atlas, const std::filesystem::path& bundle,
                       const std::filesystem::path& output, const std::vector<std::string>& warnings,
                       PageRange range) {
    std::vector<Page> pages;
    collectPages(atlas.top, bundle, pages);
    Names names;
    for (const BuiltEntry& entry : atlas.entries)
        names.emplace(entry.id, &entry);
    std::vector<std::size_t> chosen = chosenPages(pages.size() + 1, range);
    if (output.extension() == ".pdf")
        return writePdf(pages, names, warnings, chosen, output);
    return writePng(pages, names, warnings, chosen, output);
}

} // namespace atlas
