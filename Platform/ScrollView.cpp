#include "Platform/ScrollView.h"

#include "Platform/Animation.h"

#include <algorithm>
#include <cmath>

namespace ui {

namespace {
constexpr Float scrollAnimationDuration = 0.3;
constexpr Float indicatorThickness = 3;
constexpr Float indicatorInset = 2;
} // namespace

ScrollView::ScrollView(const Rect& frame) : View(frame) {
    setClipsToBounds(true);
}

void ScrollView::setContentSize(Size size) {
    contentSize_ = size;
    setNeedsDisplay();
}

void ScrollView::setContentOffset(Point offset) {
    setBounds({offset, bounds().size});
}

void ScrollView::setContentOffset(Point offset, bool animated) {
    if (!animated) {
        setContentOffset(offset);
        return;
    }
    Animation::begin(scrollAnimationDuration);
    setContentOffset(offset);
    Animation::commit();
}

Point ScrollView::maximumContentOffset() const {
    return {std::max(0.0, contentSize_.width - bounds().width()),
            std::max(0.0, contentSize_.height - bounds().height())};
}

Point ScrollView::clamped(Point offset) const {
    Point most = maximumContentOffset();
    return {std::clamp(offset.x, 0.0, most.x), std::clamp(offset.y, 0.0, most.y)};
}

bool ScrollView::canScroll() const {
    Point most = maximumContentOffset();
    return scrollEnabled_ && (most.x > 0 || most.y > 0);
}

Point ScrollView::fingerIn(const TouchSet& touches) const {
    // Measured in the superview: the scroll view's own coordinates move as it scrolls.
    return touches.anyObject().locationIn(superview());
}

void ScrollView::beginDragging(Point startInWindow) {
    phase_ = DragPhase::Dragging;
    dragStartFinger_ = superview() ? superview()->convertFrom(startInWindow, nullptr) : startInWindow;
    dragStartOffset_ = contentOffset();
}

void ScrollView::scrollBy(Point delta) {
    setContentOffset(clamped(contentOffset() + delta));
}

void ScrollView::scrollWith(Point finger) {
    setContentOffset(clamped(dragStartOffset_ - (finger - dragStartFinger_)));
}

void ScrollView::touchesBegan(const TouchSet& touches) {
    phase_ = canScroll() ? DragPhase::Undecided : DragPhase::Idle;
    dragStartFinger_ = fingerIn(touches);
    dragStartOffset_ = contentOffset();
    View::touchesBegan(touches);
}

void ScrollView::touchesMoved(const TouchSet& touches) {
    Point finger = fingerIn(touches);
    Point moved = finger - dragStartFinger_;
    if (phase_ == DragPhase::Undecided && std::hypot(moved.x, moved.y) > dragDistance) {
        phase_ = DragPhase::Dragging;
        View::touchesCancelled(touches);
    }
    if (phase_ == DragPhase::Dragging)
        scrollWith(finger);
    else
        View::touchesMoved(touches);
}

void ScrollView::touchesEnded(const TouchSet& touches) {
    bool dragged = phase_ == DragPhase::Dragging;
    phase_ = DragPhase::Idle;
    setNeedsDisplay();
    if (!dragged)
        View::touchesEnded(touches);
}

void ScrollView::touchesCancelled(const TouchSet& touches) {
    bool dragged = phase_ == DragPhase::Dragging;
    phase_ = DragPhase::Idle;
    setNeedsDisplay();
    if (!dragged)
        View::touchesCancelled(touches);
}

void ScrollView::drawOverlay(const DrawContext& context) {
    bool scrolling = isDragging() || hasRunningAnimations();
    if (!scrolling || contentSize_.width <= bounds().width() || !showsHorizontalIndicator_)
        return;
    Rect b = presentationBounds();
    Float length = std::max(b.width() * b.width() / contentSize_.width, 2 * indicatorThickness);
    Float travel = b.width() - length - 2 * indicatorInset;
    Float share = std::clamp(b.x() / std::max(contentSize_.width - b.width(), 1.0), 0.0, 1.0);
    cairo_t* cr = context.cr;
    cairo_set_source_rgba(cr, 0, 0, 0, 0.5 * context.opacity);
    cairo_set_line_width(cr, indicatorThickness);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    Float y = b.maxY() - indicatorInset - indicatorThickness / 2;
    Float x = b.x() + indicatorInset + travel * share + indicatorThickness / 2;
    cairo_move_to(cr, x, y);
    cairo_line_to(cr, x + length - indicatorThickness, y);
    cairo_stroke(cr);
}

} // namespace ui
