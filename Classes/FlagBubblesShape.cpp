// The shape of a flag's bubble: its picture, composed to a width from the bubble sheet, and its place
// on screen.
#include "FlagBubbles.h"

#include "Platform/Bundle.h"
#include "Platform/Button.h"
#include "Platform/ImageView.h"
#include "Platform/Label.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr double bubbleHeight = 58;

} // namespace

// The widest bubble that fits the screen with the picture of its info button, which is centred 7 points
// inside the bubble's right end.
double FlagBubbles::widestBubble(bool withInfoButton) {
    if (!withInfoButton)
        return 320;
    double button = ui::Bundle::main().image("infoButton", "png").size().width;
    return 320 - std::max(button / 2 - 7, 0.0);
}

// A bubble that still reaches past an edge of the screen after taking its edge picture (a long name
// near the left third) moves inwards, its lines and its info button with it.
void FlagBubbles::keepBubbleOnScreen(bool withInfoButton) {
    ui::Rect bubble = hintOfFlag_->frame();
    double right = bubble.maxX();
    if (withInfoButton && infoButtonOfHint_) {
        double button = infoButtonOfHint_->image().size().width;
        right = std::max(right, infoButtonOfHint_->center().x + button / 2);
    }
    double shift = 0;
    if (bubble.minX() < 0)
        shift = -bubble.minX();
    else if (right > 320)
        shift = std::floor(320 - right);
    if (shift == 0)
        return;
    std::vector<ui::View*> parts{hintOfFlag_.get(), labelForFlag_.get(), labelForFlagLatin_.get()};
    if (withInfoButton && infoButtonOfHint_)
        parts.push_back(infoButtonOfHint_.get());
    for (ui::View* part : parts)
        part->setCenter({part->center().x + shift, part->center().y});
}

ui::Image FlagBubbles::createBubbleWithWidth(int width) {
    if (width % 2 != 0)
        width += 1;
    double half = width / 2;
    ui::Image sheet = ui::Bundle::main().image("labelBubble.png");
    double s = sheet.scale();
    auto slice = [&](double x, double sliceWidth) {
        return sheet.cropped({x * s, 0, sliceWidth * s, bubbleHeight * s});
    };
    ui::Image pointer = slice(60, 24), leftEnd = slice(0, 26), rightEnd = slice(100, 34);

    ui::ImageContext context({static_cast<double>(width), bubbleHeight});
    cairo_t* cr = context.cairo();
    leftEnd.stretchable(15, 25).draw(cr, {0, 0, half - 12, bubbleHeight});
    rightEnd.stretchable(15, 25).draw(cr, {half + 12, 0, half - 12, bubbleHeight});
    // The sheet keeps the pointer upside down; half a revolution shows it upright.
    cairo_translate(cr, width, bubbleHeight);
    cairo_rotate(cr, -M_PI);
    pointer.draw(cr, {half - 12, 0, 24, bubbleHeight});
    return context.image();
}
