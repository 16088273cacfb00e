// torvex-art-sheet BUNDLE OUT: proof sheets of the bundle's artwork for a designer's eye.
//  - OUT/contact-black.png and OUT/contact-white.png: every picture at its size in points, and
//    OUT/closeup-black.png and OUT/closeup-white.png: the small ones three times as large;
//  - OUT/bubbles.png: flag bubbles composed from the bundle files the way the viewer composes them
//    (centred bubbles 101, 160 and 240 wide, edge bubbles stretched), over flags, on three grounds;
//  - OUT/help.png: both help pages with their pictures in the gaps of the text;
//  - OUT/start.png: the start screen with its status line and the bundle's link titles.

#include "ArtCanvas.h"
#include "Catalogue.h"
#include "Palette.h"
#include "Shapes.h"
#include "StartPicture.h"

#include <cmath>
#include <fstream>
#include <gdk-pixbuf/gdk-pixbuf.h>
#include <iostream>
#include <memory>
#include <pango/pangocairo.h>
#include <stdexcept>
#include <tuple>
#include <vector>

namespace {

using namespace art;
namespace fs = std::filesystem;

using SurfacePtr = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;

struct Picture {
    SurfacePtr surface{nullptr, cairo_surface_destroy};
    double scale = 2;
    double width() const { return cairo_image_surface_get_width(surface.get()) / scale; }
    double height() const { return cairo_image_surface_get_height(surface.get()) / scale; }
};

Picture loadPicture(const fs::path& bundle, const std::string& name) {
    Picture picture;
    picture.surface.reset(cairo_image_surface_create_from_png((bundle / (name + "@2x.png")).c_str()));
    if (cairo_surface_status(picture.surface.get()) != CAIRO_STATUS_SUCCESS)
        throw std::runtime_error("cannot read " + name);
    return picture;
}

// Draws the part `source` (points) of the picture into `target` (points).
void drawPart(cairo_t* cr, const Picture& picture, double sx, double sy, double sw, double sh, double tx,
              double ty, double tw, double th) {
    if (tw <= 0 || th <= 0)
        return;
    cairo_save(cr);
    cairo_rectangle(cr, tx, ty, tw, th);
    cairo_clip(cr);
    cairo_translate(cr, tx, ty);
    cairo_scale(cr, tw / sw, th / sh);
    cairo_translate(cr, -sx, -sy);
    cairo_scale(cr, 1 / picture.scale, 1 / picture.scale);
    cairo_set_source_surface(cr, picture.surface.get(), 0, 0);
    cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
    cairo_paint(cr);
    cairo_restore(cr);
}

// A part of a picture stretched by caps: `leftCap` columns stay, one column stretches, the rest
// stays; the same for rows with `topCap`.
void drawStretched(cairo_t* cr, const Picture& picture, double sx, double sy, double sw, double sh,
                   double leftCap, double topCap, double tx, double ty, double tw, double th) {
    const double sourceX[] = {0, leftCap, leftCap + 1, sw};
    const double sourceY[] = {0, topCap, topCap + 1, sh};
    const double targetX[] = {0, leftCap, tw - (sw - leftCap - 1), tw};
    const double targetY[] = {0, topCap, th - (sh - topCap - 1), th};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            drawPart(cr, picture, sx + sourceX[i], sy + sourceY[j], sourceX[i + 1] - sourceX[i],
                     sourceY[j + 1] - sourceY[j], tx + targetX[i], ty + targetY[j],
                     targetX[i + 1] - targetX[i], targetY[j + 1] - targetY[j]);
}

// The centred bubble, composed exactly as the viewer composes it from the sheet.
void drawCentredBubble(cairo_t* cr, const Picture& sheet, int width, double x, double y) {
    int w = width % 2 ? width + 1 : width;
    int half = w / 2;
    cairo_save(cr);
    cairo_translate(cr, x, y);
    drawStretched(cr, sheet, 0, 0, 26, 58, 15, 25, 0, 0, half - 12, 58);
    drawStretched(cr, sheet, 100, 0, 34, 58, 15, 25, half + 12, 0, half - 12, 58);
    cairo_translate(cr, w, 58);
    cairo_rotate(cr, -M_PI);
    drawPart(cr, sheet, 60, 0, 24, 58, half - 12, 0, 24, 58);
    cairo_restore(cr);
}

enum class BubbleKind { Centred, Left, Right };

struct Sample {
    const char* title;
    const char* latin;
    BubbleKind kind;
};

// The bubble's width as the viewer takes it: from the line with more characters.
int bubbleWidth(cairo_t* cr, const Sample& sample) {
    std::string latin = std::string("(") + sample.latin + ")";
    double tw = std::string(sample.title).size() > latin.size()
                    ? textWidth(cr, sample.title, "Nimbus Sans 14")
                    : textWidth(cr, latin, "Nimbus Sans Italic 13");
    return int(tw + 40 * 134 / 100.0);
}

void drawBubblePicture(cairo_t* cr, const fs::path& bundle, BubbleKind kind, int width, double left,
                       double top) {
    if (kind == BubbleKind::Centred) {
        drawCentredBubble(cr, loadPicture(bundle, "labelBubble"), width, left, top);
        return;
    }
    Picture whole = loadPicture(bundle, kind == BubbleKind::Left ? "bubble_left" : "bubble_right");
    drawStretched(cr, whole, 0, 0, whole.width(), whole.height(), 65, 25, left, top, width, 58);
}

void markPoint(cairo_t* cr, Pt point) {
    cairo_arc(cr, point.x, point.y, 1, 0, 2 * M_PI);
    cairo_set_source_rgb(cr, 0, 1, 0);
    cairo_fill(cr);
}

// One flag with its open bubble, laid out as the viewer lays it out around the flag's point.
void drawFlagWithBubble(cairo_t* cr, const fs::path& bundle, const Sample& sample, Pt point) {
    Picture flag = loadPicture(bundle, "flag");
    Pt anchor{point.x + 5, point.y + 10};
    drawPart(cr, flag, 0, 0, flag.width(), flag.height(), anchor.x - flag.width() / 2,
             anchor.y - flag.height() / 2, flag.width(), flag.height());
    int width = bubbleWidth(cr, sample);
    double top = std::trunc(anchor.y - 66);
    double left = std::trunc(anchor.x - width / 2.0);
    if (sample.kind == BubbleKind::Left)
        left = std::trunc(left + std::trunc(width / 2.0 - 30));
    if (sample.kind == BubbleKind::Right)
        left = std::trunc(left + std::trunc(31 - width / 2.0));
    drawBubblePicture(cr, bundle, sample.kind, width, left, top);
    double textCentre = left - 4 * 1.34 + width / 2.0;
    labelText(cr, sample.title, "Nimbus Sans 14", {textCentre, top + 10}, palette::white);
    labelText(cr, std::string("(") + sample.latin + ")", "Nimbus Sans Italic 13", {textCentre, top + 27},
              palette::white);
    Picture info = loadPicture(bundle, "infoButton");
    double e = left + width - 7;
    drawPart(cr, info, 0, 0, info.width(), info.height(), e - info.width() / 2,
             anchor.y - 44 - info.height() / 2, info.width(), info.height());
    markPoint(cr, point);
}

void paintGround(cairo_t* cr, int ground, double y, double w, double h) {
    cairo_rectangle(cr, 0, y, w, h);
    if (ground == 0) {
        cairo_set_source_rgb(cr, 0, 0, 0);
    } else if (ground == 1) {
        cairo_set_source_rgb(cr, 1, 1, 1);
    } else {
        cairo_pattern_t* flesh = cairo_pattern_create_linear(0, y, w, y + h);
        cairo_pattern_add_color_stop_rgb(flesh, 0, 0.80, 0.42, 0.38);
        cairo_pattern_add_color_stop_rgb(flesh, 0.5, 0.93, 0.78, 0.66);
        cairo_pattern_add_color_stop_rgb(flesh, 1, 0.55, 0.16, 0.18);
        cairo_set_source(cr, flesh);
        cairo_pattern_destroy(flesh);
    }
    cairo_fill(cr);
}

// The first row shows bare bubbles (centred ones 101, 160 and 240 wide, then the edge bubbles
// stretched to 120 and 200) with a dot where the pointer's tip belongs; the other rows show flags
// with their bubbles on black, white and a flesh-coloured ground.
void writeBubbleSheet(const fs::path& bundle, const fs::path& out) {
    double rowHeight = 110, width = 1000;
    ArtCanvas canvas(width, 4 * rowHeight);
    cairo_t* cr = canvas.cr();
    paintGround(cr, 0, 0, width, rowHeight);
    const std::pair<BubbleKind, int> bare[] = {{BubbleKind::Centred, 101},
                                               {BubbleKind::Centred, 160},
                                               {BubbleKind::Centred, 240},
                                               {BubbleKind::Left, 120},
                                               {BubbleKind::Right, 200}};
    double x = 20;
    for (auto [kind, w] : bare) {
        drawBubblePicture(cr, bundle, kind, w, x, 30);
        double tip = kind == BubbleKind::Centred ? (w + w % 2) / 2.0 : kind == BubbleKind::Left ? 30 : w - 31;
        markPoint(cr, {x + tip, 30 + 56.5});
        x += w + 40;
    }
    const Sample samples[] = {
        {"Liver", "Hepar", BubbleKind::Centred},
        {"Stomach", "Gaster", BubbleKind::Centred},
        {"Upper lobe of left lung", "Lobus superior pulmonis sinistri", BubbleKind::Centred},
        {"Heart", "Cor", BubbleKind::Left},
        {"Urinary bladder", "Vesica urinaria", BubbleKind::Right}};
    for (int ground = 0; ground < 3; ++ground) {
        double y = (ground + 1) * rowHeight;
        paintGround(cr, ground, y, width, rowHeight);
        double x = 20;
        for (const Sample& sample : samples) {
            int w = bubbleWidth(cr, sample);
            double shift = sample.kind == BubbleKind::Left    ? 30 - w / 2.0
                           : sample.kind == BubbleKind::Right ? w / 2.0 - 31
                                                              : 0;
            drawFlagWithBubble(cr, bundle, sample, {x + w / 2.0 - 5 + shift, y + 80});
            x += w + 30;
        }
    }
    canvas.writePng(out, "bubbles");
}

// Every picture on one ground; `zoom` enlarges the small ones for a close look (the turning arrow's
// frames are shown at a third of their size).
void writeContactSheet(const fs::path& bundle, const fs::path& out, Rgba ground, double zoom,
                       const std::string& name) {
    double width = 1100, margin = 16, x = margin, y = margin, rowHeight = 0;
    ArtCanvas canvas(width, zoom > 1 ? 1160 : 560);
    cairo_t* cr = canvas.cr();
    setColor(cr, ground);
    cairo_paint(cr);
    for (const Artwork& artwork : pngArtwork()) {
        double shrink = artwork.width > 200 ? 0.3 : zoom;
        double w = artwork.width * shrink, h = artwork.height * shrink;
        if (x + w > width - margin) {
            x = margin;
            y += rowHeight + 22;
            rowHeight = 0;
        }
        Picture picture = loadPicture(bundle, artwork.name);
        drawPart(cr, picture, 0, 0, picture.width(), picture.height(), x, y, w, h);
        cairo_rectangle(cr, x - 0.25, y - 0.25, w + 0.5, h + 0.5);
        cairo_set_line_width(cr, 0.5);
        setColor(cr, palette::mid.withAlpha(0.5));
        cairo_stroke(cr);
        centredText(cr, artwork.name.substr(artwork.name.find('/') + 1), "Nimbus Sans 6",
                    {x + w / 2, y + h + 7}, palette::mid);
        x += std::max(w, 44.0) + 14;
        rowHeight = std::max(rowHeight, h);
    }
    canvas.writePng(out, name);
}

// The help pages as the viewer builds them: the panel picture stretched behind, the text at 13
// points in its text view (moved 10 points down, with an 8-point inset and a 16-point line pitch,
// as a phone text view sets it), the bold headings and the pictures at their centres and scales.
struct HelpPage {
    double height;
    std::string text;
    std::vector<std::pair<std::string, Pt>> headings;
    std::vector<std::tuple<std::string, Pt, double>> pictures;
};

const std::string zoomHelp =
    "Press on the 3D image to zoom in to a particular section or region.  Press outside "
    "the 3D image on screen to see the zoom areas indicated by the red rings.  ";
const std::string rotateHelp =
    "Drag your fingers across the screen to rotate the 3D image.  Press outside the 3D "
    "image to see the rotation options indicated by blue arrows. To rotate, pull an "
    "arrow across the screen. ";

std::vector<HelpPage> helpPages() {
    const std::string gap = "\n\n\n";
    HelpPage shortPage{
        260,
        zoomHelp + gap + rotateHelp + gap + "Press            for a number of different view options.",
        {{"To Zoom In: ", {8, 5}}, {"To Rotate 3D Image: ", {8, 100}}, {"The View Button: ", {8, 196}}},
        {{"Buttons/views", {64, 220}, 0.75}}};
    HelpPage longPage{420,
                      zoomHelp + gap + rotateHelp + gap +
                          "Press Views  for a number of different view options. " + gap +
                          "Press Info   to access a scrollable window with topic information. " + gap +
                          "Press     on the menu bar to view identification flags on the 3D image.  Press on "
                          "these flags to access labels.   If there is an  \u201Ci\u201D     icon, press to "
                          "access additional information.",
                      {{"To Zoom In: ", {8, 5}},
                       {"To Rotate 3D Image: ", {8, 100}},
                       {"The View Button: ", {8, 196}},
                       {"The Information Button: ", {8, 244}},
                       {"The Flag Icon: ", {8, 310}}},
                      {{"Buttons/views", {64, 220}, 0.75},
                       {"infoButton", {208, 377}, 0.5},
                       {"flag", {50, 350}, 0.5},
                       {"Buttons/info", {59, 283}, 0.75}}};
    return {shortPage, longPage};
}

void drawHelpText(cairo_t* cr, const std::string& text) {
    LayoutPtr layout = pointLayout(cr);
    std::unique_ptr<PangoFontDescription, decltype(&pango_font_description_free)> font(
        pango_font_description_from_string("Nimbus Sans 13"), pango_font_description_free);
    pango_layout_set_font_description(layout.get(), font.get());
    pango_layout_set_width(layout.get(), (305 - 16) * PANGO_SCALE);
    pango_layout_set_wrap(layout.get(), PANGO_WRAP_WORD);
    pango_layout_set_text(layout.get(), text.c_str(), -1);
    setColor(cr, palette::white);
    double top = 5 + 10 + 8, pitch = 16, ascent = 12;
    for (int i = 0; i < pango_layout_get_line_count(layout.get()); ++i) {
        cairo_move_to(cr, -1 + 8, top + ascent + i * pitch);
        pango_cairo_show_layout_line(cr, pango_layout_get_line_readonly(layout.get(), i));
    }
}

void drawHelpPage(cairo_t* cr, const fs::path& bundle, const HelpPage& page) {
    Picture panel = loadPicture(bundle, "bb");
    drawStretched(cr, panel, 0, 0, panel.width(), panel.height(), 17, 21, -1, -1, 310 + 2, page.height + 5);
    drawHelpText(cr, page.text);
    for (const auto& [heading, origin] : page.headings)
        labelText(cr, heading, "Nimbus Sans Bold 14",
                  {origin.x + textWidth(cr, heading, "Nimbus Sans Bold 14") / 2, origin.y + 7},
                  palette::white);
    for (const auto& [name, centre, scale] : page.pictures) {
        Picture picture = loadPicture(bundle, name);
        double w = picture.width() * scale, h = picture.height() * scale;
        drawPart(cr, picture, 0, 0, picture.width(), picture.height(), centre.x - w / 2, centre.y - h / 2, w,
                 h);
    }
}

void writeHelpSheet(const fs::path& bundle, const fs::path& out) {
    ArtCanvas canvas(660, 450);
    cairo_t* cr = canvas.cr();
    paintGround(cr, 2, 0, 660, 450);
    double x = 10;
    for (const HelpPage& page : helpPages()) {
        cairo_save(cr);
        cairo_translate(cr, x, 15);
        drawHelpPage(cr, bundle, page);
        cairo_restore(cr);
        x += 330;
    }
    canvas.writePng(out, "help");
}

// The start picture decoded from the bundle's JPEG, one point per two pixels as the screen shows it.
Picture loadStartPicture(const fs::path& bundle) {
    GError* error = nullptr;
    std::unique_ptr<GdkPixbuf, decltype(&g_object_unref)> pixbuf(
        gdk_pixbuf_new_from_file((bundle / startPictureName).c_str(), &error), g_object_unref);
    if (!pixbuf) {
        g_clear_error(&error);
        throw std::runtime_error(std::string("cannot read ") + startPictureName);
    }
    int w = gdk_pixbuf_get_width(pixbuf.get()), h = gdk_pixbuf_get_height(pixbuf.get());
    int channels = gdk_pixbuf_get_n_channels(pixbuf.get()),
        rowstride = gdk_pixbuf_get_rowstride(pixbuf.get());
    const guchar* pixels = gdk_pixbuf_read_pixels(pixbuf.get());
    Picture picture;
    picture.surface.reset(cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h));
    cairo_surface_flush(picture.surface.get());
    unsigned char* data = cairo_image_surface_get_data(picture.surface.get());
    int stride = cairo_image_surface_get_stride(picture.surface.get());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const guchar* p = pixels + y * rowstride + x * channels;
            reinterpret_cast<uint32_t*>(data + y * stride)[x] =
                uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
        }
    cairo_surface_mark_dirty(picture.surface.get());
    return picture;
}

std::vector<std::string> bundleTitles(const fs::path& bundle) {
    std::ifstream file(bundle / "TitlesAndUrls.txt");
    std::vector<std::string> titles;
    for (std::string line; std::getline(file, line);)
        titles.push_back(line.substr(0, line.find("||")));
    return titles;
}

// The start screen: the picture, the status line and the bundle's link titles where the start
// screen puts them.
void writeStartSheet(const fs::path& bundle, const fs::path& out) {
    ArtCanvas canvas(startWidth, startHeight);
    cairo_t* cr = canvas.cr();
    Picture start = loadStartPicture(bundle);
    drawPart(cr, start, 0, 0, start.width(), start.height(), 0, 0, startWidth, startHeight);
    labelText(cr, "Loading...", "Nimbus Sans 14", {170, 149}, rgb255(218, 118, 214));
    std::vector<std::string> titles = bundleTitles(bundle);
    for (size_t i = 0; i < titles.size(); ++i) {
        double y = 240 + 30.0 * i, w = std::trunc(textWidth(cr, titles[i], "Nimbus Sans Bold 12"));
        labelText(cr, titles[i], "Nimbus Sans Bold 12", {37 + w / 2, y + 6}, palette::white);
        cairo_rectangle(cr, 37, y + 12, w, 1);
        setColor(cr, palette::white);
        cairo_fill(cr);
    }
    canvas.writePng(out, "start");
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: torvex-art-sheet BUNDLE_FOLDER OUTPUT_FOLDER\n";
        return 2;
    }
    try {
        fs::path bundle = argv[1], out = argv[2];
        writeContactSheet(bundle, out, palette::black, 1, "contact-black");
        writeContactSheet(bundle, out, palette::white, 1, "contact-white");
        writeContactSheet(bundle, out, palette::black, 3, "closeup-black");
        writeContactSheet(bundle, out, palette::white, 3, "closeup-white");
        writeBubbleSheet(bundle, out);
        writeHelpSheet(bundle, out);
        writeStartSheet(bundle, out);
        return 0;
    } catch (const std::exception& error) {
        std::cerr << "torvex-art-sheet: " << error.what() << "\n";
        return 1;
    }
}
