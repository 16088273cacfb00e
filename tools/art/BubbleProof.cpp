// The bubble proof: bubbles composed from the bundle's pictures, laid out around flags the way the
// viewer lays them out.

#include "ArtCanvas.h"
#include "Palette.h"
#include "Proof.h"
#include "Shapes.h"

#include <cmath>
#include <string>

namespace art::proof {

namespace fs = std::filesystem;

namespace {

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

} // namespace

// The first row shows bare bubbles (centred ones 101, 160 and 240 wide, then the edge bubbles
// stretched to 120 and 200) with a dot where the pointer's tip belongs; the other rows show flags
// with their bubbles on black, white and a flesh-coloured ground.
void writeBubbleSheet(const fs::path& bundle, const fs::path& out) {
    double rowHeight = 110, width = 1000;
    ArtCanvas canvas(width, 4 * rowHeight);
    cairo_t* cr = canvas.cr();
    paintGround(cr, Ground::Black, 0, width, rowHeight);
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
    int row = 1;
    for (Ground ground : {Ground::Black, Ground::White, Ground::Flesh}) {
        double y = row++ * rowHeight;
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

} // namespace art::proof
