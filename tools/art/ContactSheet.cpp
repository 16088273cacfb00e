// torvex-art-sheet BUNDLE OUT: proof sheets of the bundle's artwork for a designer's eye, written
// as OUT/NAME@2x.png:
//  - contact-black and contact-white: every picture at its size in points, and closeup-black and
//    closeup-white: the small ones three times as large;
//  - bubbles: flag bubbles composed from the bundle files the way the viewer composes them
//    (centred bubbles 101, 160 and 240 wide, edge bubbles stretched), over flags, on three grounds;
//  - help: both help pages with their pictures in the gaps of the text;
//  - start: the start screen with its status line and the bundle's link titles.

#include "ArtCanvas.h"
#include "Catalogue.h"
#include "Palette.h"
#include "Proof.h"
#include "Shapes.h"
#include "StartPicture.h"

#include <cmath>
#include <fstream>
#include <iostream>
#include <vector>

namespace art::proof {

namespace fs = std::filesystem;

// Every picture on one ground; `zoom` enlarges the small ones for a close look (the turning arrow's
// frames are shown at a third of their size).
void writeContactSheet(const fs::path& bundle, const fs::path& out, Ground ground, double zoom,
                       const std::string& name) {
    double width = 1100, margin = 16, x = margin, y = margin, rowHeight = 0;
    ArtCanvas canvas(width, zoom > 1 ? 1160 : 560);
    cairo_t* cr = canvas.cr();
    paintGround(cr, ground, 0, width, canvas.height());
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

namespace {

std::vector<std::string> bundleTitles(const fs::path& bundle) {
    std::ifstream file(bundle / "TitlesAndUrls.txt");
    std::vector<std::string> titles;
    for (std::string line; std::getline(file, line);)
        titles.push_back(line.substr(0, line.find("||")));
    return titles;
}

// The start screen: the picture, the status line and the bundle's link titles where the start
// screen puts them.
} // namespace

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

} // namespace art::proof

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: torvex-art-sheet BUNDLE_FOLDER OUTPUT_FOLDER\n";
        return 2;
    }
    try {
        std::filesystem::path bundle = argv[1], out = argv[2];
        art::proof::writeContactSheet(bundle, out, art::proof::Ground::Black, 1, "contact-black");
        art::proof::writeContactSheet(bundle, out, art::proof::Ground::White, 1, "contact-white");
        art::proof::writeContactSheet(bundle, out, art::proof::Ground::Black, 3, "closeup-black");
        art::proof::writeContactSheet(bundle, out, art::proof::Ground::White, 3, "closeup-white");
        art::proof::writeBubbleSheet(bundle, out);
        art::proof::writeHelpSheet(bundle, out);
        art::proof::writeStartSheet(bundle, out);
        return 0;
    } catch (const std::exception& error) {
        std::cerr << "torvex-art-sheet: " << error.what() << "\n";
        return 1;
    }
}
