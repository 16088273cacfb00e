#pragma once
// Fonts and text measuring through Pango. The system font is a Helvetica-like face ("Nimbus Sans").
// Sizes are in points; measuring does not depend on the drawing scale.

#include "Platform/Geometry.h"

#include <cairo.h>
#include <string>

namespace ui {

enum class FontStyle { Regular, Bold, Italic };
enum class TextAlignment { Left, Center, Right };
// Automatic: a one-line text is centred vertically like a label, several lines start at the top
// like a text view. Center centres any number of lines (a multi-line label).
enum class TextVerticalAlignment { Automatic, Top, Center };

struct Font {
    Float size = 17;
    FontStyle style = FontStyle::Regular;

    static Font system(Float size) { return {size, FontStyle::Regular}; }
    static Font boldSystem(Float size) { return {size, FontStyle::Bold}; }
    static Font italicSystem(Float size) { return {size, FontStyle::Italic}; }
    Font withSize(Float s) const { return {s, style}; }
    friend bool operator==(const Font&, const Font&) = default;
};

// The width of `text` set on one line, rounded up to whole points as the phone platform does; 0 for
// empty text or a font of size 0. The same at every drawing scale.
Float textWidth(const std::string& text, const Font& font);
// The size of `text` wrapped by words within `width` (the height grows with the lines; a word longer
// than the width breaks between letters); `width` <= 0 means no wrapping. Rounded up; {0, 0} for
// empty text or a font of size 0. With `lineSpacing` > 0, lines are that far apart instead of one line
// height.
Size textSize(const std::string& text, const Font& font, Float width, Float lineSpacing = 0);

// Where the characters at byte offsets [begin, end) of `text` lie when it is wrapped as `textSize`
// wraps it: the box from the first one's left edge to the last one's right edge, one line high, on
// the line of the first one (a range that wraps is cut at that line's end). Points from the text's
// top left; an empty box for an empty range or text.
Rect textRangeRect(const std::string& text, const Font& font, Float width, Float lineSpacing,
                   std::size_t begin, std::size_t end);

// The height of one line of text, in points (1.2 times the size for this face): n wrapped lines
// measure n line heights.
Float lineHeight(const Font& font);

// "Family Style" of the face the text really uses, e.g. "Nimbus Sans Bold"; for checking that the
// font is installed (fontconfig silently substitutes another family when it is not).
std::string fontFaceInUse(const Font& font);

struct Color {
    Float r = 0, g = 0, b = 0, a = 0; // 0..1
    static Color clear() { return {0, 0, 0, 0}; }
    static Color black() { return {0, 0, 0, 1}; }
    static Color white() { return {1, 1, 1, 1}; }
    static Color gray() { return {0.5, 0.5, 0.5, 1}; }
    static Color rgb255(int r, int g, int b) { return {r / 255.0, g / 255.0, b / 255.0, 1}; }
    bool isClear() const { return a == 0; }
    friend bool operator==(const Color&, const Color&) = default;
};

// What becomes of text that does not fit: cut off at the rectangle, or ended with "…" (the phone's
// labels do that by default).
enum class LineBreakMode { Clip, TruncateTail };

struct TextStyle {
    Font font;
    Color color = Color::black();
    TextAlignment alignment = TextAlignment::Left;
    int numberOfLines = 1; // 0 = as many as fit
    TextVerticalAlignment verticalAlignment = TextVerticalAlignment::Automatic;
    Float lineSpacing = 0; // points from line to line; 0 = the font's line height
    LineBreakMode lineBreakMode = LineBreakMode::Clip;
};

// Draws `text` into `rect` (points): one line is centred vertically like a label; with more lines
// the text wraps by words from the top (see TextVerticalAlignment). Text that does not fit is cut
// off at the rectangle, and lines beyond `numberOfLines` are not drawn. A font of size 0 or a clear
// colour draws nothing. A one-line text wider than the rectangle starts at its left edge.
// With LineBreakMode::TruncateTail, text that does not fit shows the whole lines that do (at most
// `numberOfLines`), the last of them ending with "…"; text that fits is drawn as with Clip.
void drawText(cairo_t* cr, const std::string& text, const TextStyle& style, const Rect& rect);

} // namespace ui
