#include "Platform/ScrollView.h"

#include "Platform/Animation.h"
#include "Platform/RunLoop.h"

#include <algorithm>
#include <cmath>

namespace ui {

namespace {
constexpr Float scrollAnimationDuration = 0.3;
constexpr Float indicatorThickness = 3;
constexpr Float indicatorInset = 2;
constexpr Float decelerationPerMillisecond = 0.998;
constexpr Float glideInterval = 1.0 / 60;
constexpr Float sampleWindow = 0.1;
constexpr Float slowestGlide = 10; // points per second

Float length(Point p) {
    return std::hypot(p.x, p.y);
}
} // namespace

ScrollView::ScrollView(const Rect& frame) : View(frame) {
    setClipsToBounds(true);
}

ScrollView::~ScrollView() {
    stopGliding();
}

void ScrollView::setContentSize(Size size) {
    contentSize_ = size;
    setNeedsDisplay();
}

void ScrollView::setContentOffset(Point offset) {
    stopGliding();
    moveContent(offset);
}

void ScrollView::moveContent(Point offset) {
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
    samples_.clear();
    dragStartFinger_ = superview() ? superview()->convertFrom(startInWindow, nullptr) : startInWindow;
    dragStartOffset_ = contentOffset();
}

void ScrollView::scrollBy(Point delta) {
    stopGliding();
    moveContent(clamped(contentOffset() + delta));
    didScroll();
}

void ScrollView::scrollWith(Point finger) {
    moveContent(clamped(dragStartOffset_ - (finger - dragStartFinger_)));
    didScroll();
}

bool ScrollView::isDecelerating() const {
    return glide_ && glide_->isValid();
}

void ScrollView::stopGliding() {
    if (glide_)
        glide_->invalidate();
    glide_.reset();
}

View* ScrollView::hitTest(Point point) {
    View* hit = View::hitTest(point);
    return hit && isDecelerating() ? this : hit;
}

// Keeps the offsets of the last tenth of a second, and at least two, for the speed at release.
void ScrollView::recordSample() {
    samples_.push_back({RunLoop::main().now(), contentOffset()});
    while (samples_.size() > 2 && samples_.back().time - samples_.front().time > sampleWindow)
        samples_.pop_front();
}

// None when the finger rested before lifting.
Point ScrollView::releaseVelocity() const {
    if (samples_.size() < 2 || RunLoop::main().now() - samples_.back().time > sampleWindow)
        return {};
    Float elapsed = samples_.back().time - samples_.front().time;
    if (elapsed <= 0)
        return {};
    Point moved = samples_.back().offset - samples_.front().offset;
    return {moved.x / elapsed, moved.y / elapsed};
}

void ScrollView::glide(Point velocity) {
    if (length(velocity) < slowestGlide)
        return;
    glideVelocity_ = velocity;
    lastGlideStep_ = RunLoop::main().now();
    auto weak = std::weak_ptr<View>(weak_from_this());
    glide_ = Timer::scheduled(glideInterval, Timer::Repeats::Yes, [weak] {
        if (auto self = weak.lock())
            static_cast<ScrollView*>(self.get())->glideStep();
    });
}

// The step that reaches an end, or leaves the content slower than the slowest glide, is the last.
void ScrollView::glideStep() {
    Float now = RunLoop::main().now();
    Float elapsed = now - lastGlideStep_;
    lastGlideStep_ = now;
    Point most = maximumContentOffset();
    Point offset = contentOffset();
    Point next = {offset.x + glideVelocity_.x * elapsed, offset.y + glideVelocity_.y * elapsed};
    Float slowing = std::pow(decelerationPerMillisecond, elapsed * 1000);
    glideVelocity_ = {glideVelocity_.x * slowing, glideVelocity_.y * slowing};
    if (next.x <= 0 || next.x >= most.x)
        glideVelocity_.x = 0;
    if (next.y <= 0 || next.y >= most.y)
        glideVelocity_.y = 0;
    if (length(glideVelocity_) < slowestGlide)
        stopGliding();
    moveContent(clamped(next));
    didScroll();
}

void ScrollView::touchesBegan(const TouchSet& touches) {
    stopGliding();
    samples_.clear();
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
    if (phase_ == DragPhase::Dragging) {
        scrollWith(finger);
        recordSample();
    } else
        View::touchesMoved(touches);
}

void ScrollView::touchesEnded(const TouchSet& touches) {
    bool dragged = phase_ == DragPhase::Dragging;
    phase_ = DragPhase::Idle;
    setNeedsDisplay();
    if (dragged)
        glide(releaseVelocity());
    else
        View::touchesEnded(touches);
    samples_.clear();
}

void ScrollView::touchesCancelled(const TouchSet& touches) {
    bool dragged = phase_ == DragPhase::Dragging;
    phase_ = DragPhase::Idle;
    setNeedsDisplay();
    if (!dragged)
        View::touchesCancelled(touches);
}

void ScrollView::drawOverlay(const DrawContext& context) {
    bool scrolling = isDragging() || isDecelerating() || hasRunningAnimations();
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
