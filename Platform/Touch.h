#pragma once
// One finger on the screen, as the view that took it sees one phase of it.

#include "Platform/Geometry.h"

#include <memory>
#include <utility>

namespace ui {

class View;

enum class TouchPhase { Began, Moved, Ended, Cancelled };

class Touch {
public:
    // `location` and `previousLocation` are in window (screen) points.
    Touch(int finger, std::weak_ptr<View> view, Point location, Point previousLocation, TouchPhase phase)
        : finger_(finger), view_(std::move(view)), location_(location), previous_(previousLocation),
          phase_(phase) {}

    int finger() const { return finger_; }
    // The view that took the touch's beginning; null once that view is gone.
    View* view() const { return view_.lock().get(); }
    // The location in `view`'s bounds coordinates; in window points when `view` is null.
    Point locationIn(const View* view) const;
    Point previousLocationIn(const View* view) const;
    TouchPhase phase() const { return phase_; }

private:
    int finger_;
    std::weak_ptr<View> view_;
    Point location_, previous_;
    TouchPhase phase_;
};

} // namespace ui
