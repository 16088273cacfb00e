#pragma once
// A view whose content is larger than itself and moves under a dragging finger.
//
// The content offset is the bounds origin, so subviews (the content) move with it, and setting it
// inside an animation block animates the scrolling. The offset stays within the content: from (0, 0) to
// contentSize - bounds size (a direction in which the content fits does not scroll). A scroll view
// clips its content and takes the touches that begin on it; a drag that begins on a control inside it
// turns into scrolling once the finger has moved 10 points (the control then does not fire).
//
// When the finger lifts while the content moves, the content glides on: at the finger's speed over the
// last tenth of a second of dragging, slowed by the phone's normal rate of 0.998 per millisecond of the
// run loop's clock. A direction stops at its end of the content, and the glide ends when slower than 10
// points a second. A touch meanwhile stops it and is not a tap on what lies below; so do the wheel and
// an offset set in code.

#include "Platform/Timer.h"
#include "Platform/View.h"

#include <deque>

namespace ui {

class ScrollView : public View {
public:
    explicit ScrollView(const Rect& frame = {});
    ~ScrollView() override;

    Size contentSize() const { return contentSize_; }
    void setContentSize(Size size);
    Point contentOffset() const { return bounds().origin; }
    void setContentOffset(Point offset);
    // With `animated`, slides there in 0.3 s. Either stops a glide.
    void setContentOffset(Point offset, bool animated);
    // The largest offset the content allows.
    Point maximumContentOffset() const;

    bool isScrollEnabled() const { return scrollEnabled_; }
    void setScrollEnabled(bool enabled) { scrollEnabled_ = enabled; }
    bool showsHorizontalScrollIndicator() const { return showsHorizontalIndicator_; }
    void setShowsHorizontalScrollIndicator(bool shows) { showsHorizontalIndicator_ = shows; }
    bool showsVerticalScrollIndicator() const { return showsVerticalIndicator_; }
    void setShowsVerticalScrollIndicator(bool shows) { showsVerticalIndicator_ = shows; }
    // Kept for completeness: there is no status bar to tap.
    bool scrollsToTop() const { return scrollsToTop_; }
    void setScrollsToTop(bool scrolls) { scrollsToTop_ = scrolls; }

    // The content is larger than the view in some direction, and scrolling is on.
    bool canScroll() const;
    bool isDragging() const { return phase_ == DragPhase::Dragging; }
    static constexpr Float dragDistance = 10;
    // Takes over a touch that began at `startInWindow` on something inside this view (the application
    // calls it once that touch has moved far enough); the next moves scroll.
    void beginDragging(Point startInWindow);
    // Moves the content by `delta` as a drag would, within the same ends (the mouse wheel).
    void scrollBy(Point delta);

    // The content glides on after a flick.
    bool isDecelerating() const;
    void stopGliding();

    // While gliding, a touch anywhere on the content stops the glide instead of reaching a subview.
    View* hitTest(Point point) override;

    void touchesBegan(const TouchSet& touches) override;
    void touchesMoved(const TouchSet& touches) override;
    void touchesEnded(const TouchSet& touches) override;
    void touchesCancelled(const TouchSet& touches) override;

    int layerCount() const override { return 1; } // the scroll indicator
    void drawOverlay(const DrawContext& context) override;
    std::string className() const override { return "ScrollView"; }

protected:
    // After a drag, the wheel or a glide moved the content (an offset set in code does not call it).
    virtual void didScroll() {}

private:
    enum class DragPhase { Idle, Undecided, Dragging };
    struct Sample {
        Float time;
        Point offset;
    };

    Point clamped(Point offset) const;
    Point fingerIn(const TouchSet& touches) const;
    void scrollWith(Point finger);
    void moveContent(Point offset);
    void recordSample();
    Point releaseVelocity() const;
    void glide(Point velocity);
    void glideStep();

    Size contentSize_;
    bool scrollEnabled_ = true;
    bool showsHorizontalIndicator_ = true;
    bool showsVerticalIndicator_ = true;
    bool scrollsToTop_ = true;
    DragPhase phase_ = DragPhase::Idle;
    Point dragStartFinger_, dragStartOffset_;
    std::deque<Sample> samples_; // the offsets of the last moments of a drag
    TimerPtr glide_;
    Point glideVelocity_; // offset points per second
    Float lastGlideStep_ = 0;
};

using ScrollViewPtr = std::shared_ptr<ScrollView>;

} // namespace ui
