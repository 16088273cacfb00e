#pragma once
// The text a label or a text view shows, in one font, colour and alignment, on top of the view class
// `Base`. A change of the text or the font calls `textLayoutDidChange` (a text view measures again);
// a change of colour or alignment only redraws.

#include "Platform/Font.h"
#include "Platform/View.h"

#include <string>

namespace ui {

template <class Base> class WithText : public Base {
public:
    WithText(const Rect& frame, const Font& font) : Base(frame), font_(font) {}

    const std::string& text() const { return text_; }
    void setText(std::string text) {
        if (text == text_)
            return;
        text_ = std::move(text);
        textLayoutDidChange();
    }
    const Font& font() const { return font_; }
    void setFont(const Font& font) {
        font_ = font;
        textLayoutDidChange();
    }
    const Color& textColor() const { return textColor_; }
    void setTextColor(const Color& color) {
        textColor_ = color;
        this->setNeedsDisplay();
    }
    TextAlignment textAlignment() const { return alignment_; }
    void setTextAlignment(TextAlignment alignment) {
        alignment_ = alignment;
        this->setNeedsDisplay();
    }

    void describe(ViewDescription& description) const override { description.text = text_; }

protected:
    virtual void textLayoutDidChange() { this->setNeedsDisplay(); }
    bool hasTextToDraw() const { return !text_.empty() && font_.size > 0; }
    // The style the text is drawn in, at the opacity of the drawing.
    TextStyle textStyle(const DrawContext& context, int numberOfLines, TextVerticalAlignment vertical,
                        Float lineSpacing = 0) const {
        TextStyle style{font_, textColor_, alignment_, numberOfLines, vertical, lineSpacing};
        style.color.a *= context.opacity;
        return style;
    }

    std::string text_;
    Font font_;
    Color textColor_ = Color::black();
    TextAlignment alignment_ = TextAlignment::Left;
};

} // namespace ui
