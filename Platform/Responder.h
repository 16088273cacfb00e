#pragma once
// Touches and the responder chain.
//
// A touch belongs to the view that the hit test found where the finger went down, until the finger
// lifts, wherever it moves meanwhile. That view gets touchesBegan/Moved/Ended; a view that does not
// handle touches hands the call to its next responder (its view controller when it is a controller's
// view, else its superview), so controllers see touches on their plain subviews with `view()` still
// the view that was hit. Controls handle their own touches and never pass them on.
//
// Key input goes to the first responder (a focused text field): `becomeFirstResponder()`, then the
// application calls its `insertText` and `pressKey`.

#include "Platform/Geometry.h"

#include <memory>
#include <string>
#include <vector>

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

// The touches of one phase delivered to one view, in finger order.
class TouchSet {
public:
    TouchSet() = default;
    explicit TouchSet(std::vector<Touch> touches) : touches_(std::move(touches)) {}

    std::size_t size() const { return touches_.size(); }
    bool empty() const { return touches_.empty(); }
    // Some touch of the set (the first); an empty set answers a touch of no view at (0, 0).
    const Touch& anyObject() const;
    const Touch& operator[](std::size_t i) const { return touches_.at(i); }
    auto begin() const { return touches_.begin(); }
    auto end() const { return touches_.end(); }

private:
    std::vector<Touch> touches_;
};

class Responder {
public:
    Responder() = default;
    Responder(const Responder&) = delete;
    Responder& operator=(const Responder&) = delete;
    virtual ~Responder();

    virtual Responder* nextResponder() const { return nullptr; }

    // Each default hands the touches to the next responder.
    virtual void touchesBegan(const TouchSet& touches);
    virtual void touchesMoved(const TouchSet& touches);
    virtual void touchesEnded(const TouchSet& touches);
    // The touches were taken away (a scroll view began to scroll them) or the window went away.
    virtual void touchesCancelled(const TouchSet& touches);

    // Key input. Only a responder that accepts it can become first responder; the one that had the
    // focus before is asked to resign first. Overrides (a text field beginning and ending its editing)
    // call these.
    virtual bool canBecomeFirstResponder() const { return false; }
    virtual bool becomeFirstResponder();
    virtual void resignFirstResponder();
    bool isFirstResponder() const { return firstResponder() == this; }
    static Responder* firstResponder();
    // Typed text, and the named keys "Return", "Escape" and "BackSpace".
    virtual void insertText(const std::string&) {}
    virtual void pressKey(const std::string&) {}
};

} // namespace ui
