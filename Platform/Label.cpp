#include "Platform/Label.h"

#include <algorithm>

namespace ui {

Label::Label(const Rect& frame) : View(frame) {
    setBackgroundColor(Color::white());
    setUserInteractionEnabled(false);
}

void Label::setText(std::string text) {
    if (text == text_)
        return;
    text_ = std::move(text);
    setNeedsDisplay();
}

void Label::setFont(const Font& font) {
    font_ = font;
    setNeedsDisplay();
}

void Label::setTextColor(const Color& color) {
    textColor_ = color;
    setNeedsDisplay();
}

void Label::setTextAlignment(TextAlignment alignment) {
    alignment_ = alignment;
    setNeedsDisplay();
}

void Label::setNumberOfLines(int lines) {
    numberOfLines_ = std::max(lines, 0);
    setNeedsDisplay();
}

void Label::draw(const DrawContext& context) {
    if (text_.empty() || font_.size <= 0)
        return;
    TextStyle style{font_, textColor_, alignment_, numberOfLines_, TextVerticalAlignment::Center};
    style.color.a *= context.opacity;
    drawText(context.cr, text_, style, bounds());
}

} // namespace ui
