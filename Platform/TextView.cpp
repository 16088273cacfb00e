#include "Platform/TextView.h"

#include <algorithm>
#include <cmath>

namespace ui {

TextView::TextView(const Rect& frame) : ScrollView(frame) {
    setBackgroundColor(Color::white());
    setShowsHorizontalScrollIndicator(false);
    measure();
}

void TextView::setText(std::string text) {
    if (text == text_)
        return;
    text_ = std::move(text);
    measure();
}

void TextView::setFont(const Font& font) {
    font_ = font;
    measure();
}

void TextView::setTextColor(const Color& color) {
    textColor_ = color;
    setNeedsDisplay();
}

void TextView::setTextAlignment(TextAlignment alignment) {
    alignment_ = alignment;
    setNeedsDisplay();
}

Float TextView::lineSpacing(const Font& font) {
    return std::ceil(lineHeight(font));
}

void TextView::measure() {
    Float width = bounds().width();
    Float textHeight =
        text_.empty() ? 0
                      : textSize(text_, font_, std::max(width - 2 * margin, 0.0), lineSpacing(font_)).height;
    setContentSize({width, textHeight + 2 * margin});
    // A shorter text may leave the old offset beyond the end.
    Point most = maximumContentOffset();
    Point offset = contentOffset();
    if (offset.x > most.x || offset.y > most.y)
        setContentOffset({std::min(offset.x, most.x), std::min(offset.y, most.y)});
}

void TextView::draw(const DrawContext& context) {
    if (text_.empty() || font_.size <= 0)
        return;
    TextStyle style{font_, textColor_, alignment_, 0, TextVerticalAlignment::Top, lineSpacing(font_)};
    style.color.a *= context.opacity;
    Rect area(margin, margin, std::max(bounds().width() - 2 * margin, 0.0),
              contentSize().height - 2 * margin);
    drawText(context.cr, text_, style, area);
}

} // namespace ui
