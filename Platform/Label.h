#pragma once
// A label: text in one font and colour, aligned within the bounds and centred vertically.
//
// As on the phone of the time, a label starts with a white background (set it clear to see through)
// and user interaction off; one line unless `numberOfLines` says otherwise (0 = as many as fit).
// Text that does not fit ends with "…" after the whole lines that fit (`lineBreakMode`, tail
// truncation by default, as the phone's labels do); LineBreakMode::Clip cuts it off at the bounds.

#include "Platform/WithText.h"

namespace ui {

class Label : public WithText<View> {
public:
    explicit Label(const Rect& frame = {});

    int numberOfLines() const { return numberOfLines_; }
    void setNumberOfLines(int lines);
    LineBreakMode lineBreakMode() const { return lineBreakMode_; }
    void setLineBreakMode(LineBreakMode mode);

    void draw(const DrawContext& context) override;
    int layerCount() const override { return text_.empty() ? 0 : 1; }
    std::string className() const override { return "Label"; }

private:
    int numberOfLines_ = 1;
    LineBreakMode lineBreakMode_ = LineBreakMode::TruncateTail;
};

using LabelPtr = std::shared_ptr<Label>;

} // namespace ui
