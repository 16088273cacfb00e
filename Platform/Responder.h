#pragma once
// The responder chain: who hears touches and key input.
//
// A touch belongs to the view that the hit test found where the finger went down, until the finger
// lifts, wherever it moves meanwhile. That view gets touchesBegan/Moved/Ended; a view that does not
// handle touches hands the call to its next responder (its view controller when it is a controller's
// view, else its superview), so controllers see touches on their plain subviews with `view()` still
// the view that was hit. Controls handle their own touches and never pass them on.
//
// Key input goes to the first responder (a focused text field): `becomeFirstResponder()`, then the
// application calls its `insertText` and `pressKey`.

#include "Platform/TouchSet.h"

#include <string>

namespace ui {

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
