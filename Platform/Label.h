#pragma once
// A label: text in one font and colour, aligned within the bounds and centred vertically.
//
// As on the phone of the time, a label starts with a white background (set it clear to see through)
// and user interaction off; one line unless `numberOfLines` says otherwise (0 = as many as needed).
// Text that does not fit is cut off at the bounds.

#include "Platform/WithText.h"

namespace ui {

class Label : public WithText<View> {
public:
    explicit Label(const Rect& frame = {});

    int numberOfLines() const { return numberOfLines_; }
    void setNumberOfLines(int lines);

    void draw(const DrawContext& context) override;
    int layerCount() const override { return text_.empty() ? 0 : 1; }
    std::string className() const override { return "Label"; }

private:
    int numberOfLines_ = 1;
};

using LabelPtr = std::shared_ptr<Label>;

} // namespace ui
