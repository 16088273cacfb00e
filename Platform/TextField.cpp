#include "Platform/TextField.h"

#include "Platform/ControlDrawing.h"

#include <algorithm>

namespace ui {

namespace {

constexpr Float textInset = 6;
constexpr Float caretWidth = 2;
const Color placeholderGrey = {0.62, 0.62, 0.62, 1};
const Color caretBlue = {0.26, 0.42, 0.95, 1};

// The text without its last UTF-8 character.
std::string withoutLastCharacter(std::string text) {
    while (!text.empty()) {
        unsigned char last = static_cast<unsigned char>(text.back());
        text.pop_back();
        if ((last & 0xC0) != 0x80)
            break;
    }
    return text;
}

} // namespace

TextField::TextField(const Rect& frame) : Control(frame) {
    addTarget(ControlEvent::TouchUpInside, [](Control* sender) { sender->becomeFirstResponder(); });
}

void TextField::setText(std::string text) {
    text_ = std::move(text);
    setNeedsDisplay();
}

void TextField::setPlaceholder(std::string placeholder) {
    placeholder_ = std::move(placeholder);
    setNeedsDisplay();
}

void TextField::setFont(const Font& font) {
    font_ = font;
    setNeedsDisplay();
}

void TextField::setTextColor(const Color& color) {
    textColor_ = color;
    setNeedsDisplay();
}

void TextField::setCornerRadius(Float radius) {
    cornerRadius_ = radius;
    setNeedsDisplay();
}

void TextField::setLeftImage(Image image) {
    leftImage_ = std::move(image);
    setNeedsDisplay();
}

bool TextField::becomeFirstResponder() {
    if (isFirstResponder())
        return true;
    if (!Control::becomeFirstResponder())
        return false;
    setNeedsDisplay();
    auto keepAlive = weak_from_this().lock();
    if (onBeginEditing)
        onBeginEditing(*this);
    return true;
}

void TextField::resignFirstResponder() {
    if (!isFirstResponder())
        return;
    Control::resignFirstResponder();
    setNeedsDisplay();
    auto keepAlive = weak_from_this().lock();
    if (onEndEditing)
        onEndEditing(*this);
}

void TextField::changeTextByTyping(std::string text) {
    setText(std::move(text));
    auto keepAlive = weak_from_this().lock();
    if (onTextChange)
        onTextChange(*this, text_);
}

void TextField::insertText(const std::string& text) {
    if (!text.empty())
        changeTextByTyping(text_ + text);
}

void TextField::pressKey(const std::string& name) {
    if (name == "BackSpace") {
        if (!text_.empty())
            changeTextByTyping(withoutLastCharacter(text_));
    } else if (name == "Return") {
        auto keepAlive = weak_from_this().lock();
        if (onReturn)
            onReturn(*this);
    } else if (name == "Escape") {
        resignFirstResponder();
    }
}

Rect TextField::textArea() const {
    Float left = textInset + (leftImage_.empty() ? 0 : leftImage_.size().width + 4);
    return {left, 0, std::max(bounds().width() - left - textInset, 0.0), bounds().height()};
}

// A text longer than the field shows its end, where the typing happens.
void TextField::draw(const DrawContext& context) {
    cairo_t* cr = context.cr;
    Rect field(0.5, 0.5, bounds().width() - 1, bounds().height() - 1);
    roundedRectangle(cr, field, cornerRadius_);
    setColor(cr, Color::white(), context.opacity);
    cairo_fill_preserve(cr);
    setColor(cr, {0.45, 0.45, 0.48, 1}, context.opacity);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);

    if (!leftImage_.empty()) {
        Size s = leftImage_.size();
        leftImage_.draw(cr, Rect(textInset, (bounds().height() - s.height) / 2, s.width, s.height),
                        context.opacity);
    }
    Rect area = textArea();
    cairo_save(cr);
    cairo_rectangle(cr, area.x(), area.y(), area.width(), area.height());
    cairo_clip(cr);
    const std::string& shown = text_.empty() ? placeholder_ : text_;
    Float width = textWidth(text_, font_);
    Float overflow = std::max(width + caretWidth - area.width(), 0.0);
    if (!shown.empty()) {
        Color color = text_.empty() ? placeholderGrey : textColor_;
        color.a *= context.opacity;
        drawText(cr, shown, {font_, color, TextAlignment::Left, 1},
                 Rect(area.x() - overflow, 0, area.width() + overflow, area.height()));
    }
    if (isEditing()) {
        Float caretHeight = lineHeight(font_);
        setColor(cr, caretBlue, context.opacity);
        cairo_rectangle(cr, area.x() + width - overflow, (bounds().height() - caretHeight) / 2, caretWidth,
                        caretHeight);
        cairo_fill(cr);
    }
    cairo_restore(cr);
}

} // namespace ui
