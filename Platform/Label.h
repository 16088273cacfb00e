#pragma once
// A label: text in one font and colour, aligned within the bounds and centred vertically.
//
// As on the phone of the time, a label starts with a white background (set it clear to see through)
// and user interaction off; one line unless `numberOfLines` says otherwise (0 = as many as needed).
// Text that does not fit is cut off at the bounds.

#include "Platform/Font.h"
#include "Platform/View.h"

namespace ui {

class Label : public View {
public:
    explicit Label(const Rect& frame = {});

    const std::string& text() const { return text_; }
    void setText(std::string text);
    const Font& font() const { return font_; }
    void setFont(const Font& font);
    const Color& textColor() const { return textColor_; }
    void setTextColor(const Color& color);
    TextAlignment textAlignment() const { return alignment_; }
    void setTextAlignment(TextAlignment alignment);
    int numberOfLines() const { return numberOfLines_; }
    void setNumberOfLines(int lines);

    void draw(const DrawContext& context) override;
    int layerCount() const override { return text_.empty() ? 0 : 1; }
    std::string className() const override { return "Label"; }
    void describe(ViewDescription& description) const override { description.text = text_; }

private:
    std::string text_;
    Font font_ = Font::system(17);
    Color textColor_ = Color::black();
    TextAlignment alignment_ = TextAlignment::Left;
    int numberOfLines_ = 1;
};

using LabelPtr = std::shared_ptr<Label>;

} // namespace ui
