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

Rect Label::textRect() const {
    const Rect& b = bounds();
    if (numberOfLines_ == 1)
        return b;
    Float height = textSize(text_, font_, b.width()).height;
    if (numberOfLines_ > 1) {
        Float lineHeight = textSize("X", font_, b.width()).height;
        height = std::min(height, lineHeight * numberOfLines_);
    }
    height = std::min(height, b.height());
    return {b.x(), b.midY() - height / 2, b.width(), height};
}

void Label::draw(const DrawContext& context) {
    if (text_.empty() || font_.size <= 0)
        return;
    TextStyle style{font_, textColor_, alignment_, numberOfLines_};
    style.color.a *= context.opacity;
    cairo_save(context.cr);
    const Rect& b = bounds();
    cairo_rectangle(context.cr, b.x(), b.y(), b.width(), b.height());
    cairo_clip(context.cr);
    drawText(context.cr, text_, style, textRect());
    cairo_restore(context.cr);
}

} // namespace ui
