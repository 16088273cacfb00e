#include "Catalogue.h"

#include "ArtCanvas.h"
#include "BarButtons.h"
#include "Bubbles.h"
#include "Controls.h"
#include "Markers.h"
#include "StartPicture.h"
#include "TurnArrow.h"

namespace art {

namespace {

void addBarButtons(std::vector<Artwork>& list) {
    struct Bar {
        const char* name;
        BarGlyph glyph;
        const char* caption;
        double width;
    };
    const Bar bars[] = {{"info", BarGlyph::Info, "Info", 48},
                        {"quiz", BarGlyph::Quiz, "Quiz", 50},
                        {"help", BarGlyph::Help, "Help", 50},
                        {"flag", BarGlyph::Flag, "Flags", 54},
                        {"views", BarGlyph::Views, "Views", 54},
                        {"mag", BarGlyph::Magnifier, nullptr, barButtonWidth},
                        {"index", BarGlyph::Index, nullptr, barButtonWidth}};
    for (const Bar& bar : bars)
        for (Press press : {Press::Resting, Press::Pressed}) {
            std::string name =
                std::string("Buttons/") + bar.name + (press == Press::Pressed ? " pressed" : "");
            list.push_back({name, bar.width, barButtonHeight, [bar, press](cairo_t* cr) {
                                if (bar.caption)
                                    drawCaptionedBarButton(cr, bar.glyph, bar.caption, bar.width, press);
                                else
                                    drawBarButton(cr, bar.glyph, press);
                            }});
        }
    list.push_back({"Buttons/back_button", backButtonWidth, backButtonHeight,
                    [](cairo_t* cr) { drawBackButton(cr, Press::Resting); }});
    list.push_back({"Buttons/back_button pressed", backButtonWidth, backButtonHeight,
                    [](cairo_t* cr) { drawBackButton(cr, Press::Pressed); }});
}

void addControls(std::vector<Artwork>& list) {
    list.push_back(
        {"Buttons/whiteButton", swatchSize, swatchSize, [](cairo_t* cr) { drawSwatch(cr, Swatch::White); }});
    list.push_back(
        {"Buttons/blackButton", swatchSize, swatchSize, [](cairo_t* cr) { drawSwatch(cr, Swatch::Black); }});
    list.push_back(
        {"Buttons/muscle", tabWidth, tabHeight, [](cairo_t* cr) { drawLanguageTab(cr, Press::Resting); }});
    list.push_back({"Buttons/muscle_pressed", tabWidth, tabHeight,
                    [](cairo_t* cr) { drawLanguageTab(cr, Press::Pressed); }});
    list.push_back({"scalpel", scalpelSize, scalpelSize, drawScalpel});
}

void addPictureOverlays(std::vector<Artwork>& list) {
    list.push_back({"circle", ringSize, ringSize, drawRing});
    list.push_back({"flag", flagWidth, flagHeight, drawFlag});
    list.push_back({"infoButton", infoButtonSize, infoButtonSize, drawInfoButton});
    const std::pair<int, Edge> hints[] = {
        {1, Edge::Right}, {2, Edge::Left}, {3, Edge::Bottom}, {4, Edge::Top}};
    for (const auto& hint : hints) {
        Edge edge = hint.second;
        bool side = edge == Edge::Right || edge == Edge::Left;
        list.push_back({"Arrow Hints/" + std::to_string(hint.first), side ? hintDepth : hintLength,
                        side ? hintLength : hintDepth, [edge](cairo_t* cr) { drawHintArrow(cr, edge); }});
    }
    for (int frame = 1; frame <= turnArrowFrames; ++frame)
        list.push_back({"arrows/" + std::to_string(frame), turnArrowWidth, turnArrowHeight,
                        [frame](cairo_t* cr) { drawTurnArrowFrame(cr, frame); }});
}

void addBubblesAndPanel(std::vector<Artwork>& list) {
    list.push_back({"labelBubble", labelBubbleWidth, bubbleHeight, drawLabelBubbleSheet});
    list.push_back({"bubble_left", bubbleLeftWidth, bubbleHeight, drawBubbleLeft});
    list.push_back({"bubble_right", bubbleRightWidth, bubbleHeight, drawBubbleRight});
    list.push_back({"bb", panelWidth, panelHeight, drawPanel});
}

} // namespace

std::vector<Artwork> pngArtwork() {
    std::vector<Artwork> list;
    addBarButtons(list);
    addControls(list);
    addPictureOverlays(list);
    addBubblesAndPanel(list);
    return list;
}

int writeBundleArtwork(const std::filesystem::path& bundle) {
    int written = 0;
    for (const Artwork& artwork : pngArtwork()) {
        ArtCanvas canvas(artwork.width, artwork.height);
        artwork.draw(canvas.cr());
        canvas.writePng(bundle, artwork.name);
        ++written;
    }
    ArtCanvas start(startWidth, startHeight);
    drawStartPicture(start.cr());
    start.writeJpeg(bundle / startPictureName, 92);
    return written + 1;
}

} // namespace art
