// The help proof: both help pages with the bundle's pictures in the gaps of their texts.

#include "ArtCanvas.h"
#include "Palette.h"
#include "Proof.h"
#include "Shapes.h"

#include <string>
#include <tuple>
#include <vector>

namespace art::proof {

namespace fs = std::filesystem;

namespace {

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

} // namespace

void writeHelpSheet(const fs::path& bundle, const fs::path& out) {
    ArtCanvas canvas(660, 450);
    cairo_t* cr = canvas.cr();
    paintGround(cr, Ground::Flesh, 0, 660, 450);
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

} // namespace art::proof
