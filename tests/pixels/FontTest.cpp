#include "tests/support/PictureBytes.h"
#include "tests/support/TemporaryFolder.h"

#include "Platform/Font.h"
#include "Platform/Image.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace ui;
using namespace testpictures;

namespace {

const std::string sentence = "The quick brown fox jumps over the lazy dog near the river bank";

// The bounding box, in device pixels, of every pixel with some ink; empty when nothing was drawn.
struct Ink {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
    bool none() const { return right < 0; }
    double midX() const { return (left + right + 1) / 2.0; }
    double midY() const { return (top + bottom + 1) / 2.0; }
};

Ink inkOf(const Image& picture) {
    Ink ink;
    Size pixels = picture.pixelSize();
    for (int y = 0; y < pixels.height; ++y) {
        for (int x = 0; x < pixels.width; ++x) {
            if (pixelAt(picture.surface(), x, y).a > 64) {
                ink.left = std::min(ink.left, x), ink.right = std::max(ink.right, x);
                ink.top = std::min(ink.top, y), ink.bottom = std::max(ink.bottom, y);
            }
        }
    }
    return ink;
}

Ink drawnInk(const std::string& text, const TextStyle& style, Size canvas, const Rect& rect,
             Float scale = 1) {
    ImageContext context(canvas, scale);
    drawText(context.cairo(), text, style, rect);
    return inkOf(context.image());
}

TextStyle styleWith(Font font, TextAlignment alignment = TextAlignment::Left, int lines = 1) {
    TextStyle style;
    style.font = font;
    style.alignment = alignment;
    style.numberOfLines = lines;
    return style;
}

} // namespace

TEST(TextMeasuring, WrappedHeightGrowsByOneLineHeightPerLineAndEmptyTextOrSizeZeroMeasureNothing) {
    EXPECT_EQ(textWidth("", Font::system(14)), 0);
    EXPECT_EQ(textSize("", Font::system(14), 100), (Size{0, 0}));
    EXPECT_EQ(textSize("Hello", Font::system(0), 100), (Size{0, 0}));
    Font font = Font::system(13);
    Float line = lineHeight(font);
    EXPECT_NEAR(line, 1.2 * 13, 0.5);
    EXPECT_EQ(textSize("word", font, 300).height, std::ceil(line));
    Size narrow = textSize(sentence, font, 100);
    Size wide = textSize(sentence, font, 200);
    EXPECT_LE(narrow.width, 100);
    EXPECT_EQ(narrow.height, std::ceil(4 * line)) << "four lines at 100 points";
    EXPECT_EQ(wide.height, std::ceil(2 * line)) << "two lines at 200 points";
    EXPECT_EQ(textSize(sentence, font, 0).height, std::ceil(line));
    EXPECT_EQ(textSize(sentence, font, 0).width, textWidth(sentence, font));
}

TEST(TextDrawing, OneLineIsCentredVerticallyAndPlacedByItsAlignment) {
    Rect rect(0, 0, 200, 40);
    Ink left = drawnInk("Hxxxxxxxxx", styleWith(Font::system(14)), rect.size, rect);
    Ink centre = drawnInk("Hxxxxxxxxx", styleWith(Font::system(14), TextAlignment::Center), rect.size, rect);
    Ink right = drawnInk("Hxxxxxxxxx", styleWith(Font::system(14), TextAlignment::Right), rect.size, rect);
    EXPECT_LE(left.left, 2);
    EXPECT_NEAR(centre.midX(), 100, 2);
    EXPECT_GE(right.right, 196);
    EXPECT_NEAR(left.top, 40 - left.bottom - 1, 4)
        << "ink between rows " << left.top << " and " << left.bottom;
}

TEST(TextDrawing, AOneLineLabelAndALabelLowerThanALineShowTheFirstLine) {
    Ink ink = drawnInk("Top\nBottom\nMore", styleWith(Font::system(14)), {100, 100}, Rect(0, 0, 100, 100));
    EXPECT_LE(ink.bottom - ink.top + 1, lineHeight(Font::system(14)));
    EXPECT_NEAR(ink.midY(), 50, 4);
    // A rectangle a little lower than a line ends the first line where one a line high does.
    auto inkInHeight = [](Float height) {
        TextStyle style = styleWith(Font::system(14), TextAlignment::Left, 0);
        style.lineBreakMode = LineBreakMode::TruncateTail;
        return drawnInk(sentence, style, {100, 30}, Rect(0, 0, 100, height));
    };
    EXPECT_EQ(inkInHeight(14).right, inkInHeight(std::ceil(lineHeight(Font::system(14)))).right);
}
