#include "Platform/TextView.h"

#include <algorithm>
#include <cmath>

namespace ui {

TextView::TextView(const Rect& frame) : WithText(frame, Font::system(12)) {
    setBackgroundColor(Color::white());
    setShowsHorizontalScrollIndicator(false);
    measure();
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

Rect TextView::rectOfTextRange(std::size_t begin, std::size_t end) const {
    Float width = std::max(bounds().width() - 2 * margin, 0.0);
    Rect range = textRangeRect(text_, font_, width, lineSpacing(font_), begin, end);
    return {range.x() + margin, range.y() + margin, range.width(), range.height()};
}

void TextView::draw(const DrawContext& context) {
    if (!hasTextToDraw())
        return;
    Rect area(margin, margin, std::max(bounds().width() - 2 * margin, 0.0),
              contentSize().height - 2 * margin);
    drawText(context.cr, text_, textStyle(context, 0, TextVerticalAlignment::Top, lineSpacing(font_)), area);
}

} // namespace ui
