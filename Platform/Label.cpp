#include "Platform/Label.h"

#include <algorithm>

namespace ui {

Label::Label(const Rect& frame) : WithText(frame, Font::system(17)) {
    setBackgroundColor(Color::white());
    setUserInteractionEnabled(false);
}

void Label::setNumberOfLines(int lines) {
    numberOfLines_ = std::max(lines, 0);
    setNeedsDisplay();
}

void Label::setLineBreakMode(LineBreakMode mode) {
    lineBreakMode_ = mode;
    setNeedsDisplay();
}

void Label::draw(const DrawContext& context) {
    if (!hasTextToDraw())
        return;
    TextStyle style = textStyle(context, numberOfLines_, TextVerticalAlignment::Center);
    style.lineBreakMode = lineBreakMode_;
    drawText(context.cr, text_, style, bounds());
}

} // namespace ui
