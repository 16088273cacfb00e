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

void Label::draw(const DrawContext& context) {
    if (hasTextToDraw())
        drawText(context.cr, text_, textStyle(context, numberOfLines_, TextVerticalAlignment::Center),
                 bounds());
}

} // namespace ui
