#pragma once
// Drives the program as a user would, and reads what it shows: the automation script's commands as
// C++ calls, for tests.
//
//     ui::Driver::resetToolkit();                 // fresh window, clock at 0
//     buildScreen(ui::Application::shared());
//     ui::Driver driver;
//     ASSERT_TRUE(driver.press("Start")) << driver.press("Start").error();
//     driver.advance(0.8);                        // timers and animations run in due order
//     EXPECT_EQ(driver.state()["interaction"], true);
//
// Positions are screen points. Headless, time moves only through `advance` (and `drag`, which takes
// its time); a window run lets the window live meanwhile.

#include "Platform/Application.h"
#include "Platform/Control.h"

#include <functional>
#include <memory>
#include <string>

namespace ui {

class Renderer;

// Success, or failure with a message for the user.
class Result {
public:
    static Result success() { return Result(); }
    static Result failure(std::string message) { return Result(std::move(message)); }
    explicit operator bool() const { return !failed_; }
    const std::string& error() const { return message_; }

private:
    Result() = default;
    explicit Result(std::string message) : failed_(true), message_(std::move(message)) {}
    bool failed_ = false;
    std::string message_;
};

class Driver {
public:
    Driver();
    ~Driver();

    // Everything afresh: the virtual clock at 0 with no events, no animations, a new empty window, no
    // touches, providers, addresses or first responder, the headless random numbers from their seed,
    // screenshots at `scale`.
    static void resetToolkit(Float scale = 2);

    // Replaces how the clock moves (a window run keeps drawing and reading input meanwhile).
    void setClockAdvancer(std::function<void(Float seconds)> advancer) { advancer_ = std::move(advancer); }

    // Moves the clock on; timers, animation ends and frame animations run in due order.
    Result advance(Float seconds);
    // One finger down and up at `point`, with no time between.
    void tap(Point point);
    // One finger down at `from`, moved in steps of 1/60 s to `to` over `seconds`, up at `to`.
    void drag(Point from, Point to, Float seconds = 0.3);
    // Taps the centre of the front-most visible, touchable control whose current title (or text) is
    // `text`; fails when there is none or something else would take the tap.
    Result press(const std::string& text);
    // Typed text for the focused text field.
    Result type(const std::string& text);
    // A key pressed on the keyboard (Application::pressKey, names as Application::keyName takes them);
    // fails only for a name that is no key.
    Result key(const std::string& name);
    // The mouse wheel at `point`: `dy` points further down the content of the scroll view there.
    void wheel(Point point, Float dy);
    // The window's new size in pixels (headless: the virtual window); the screen is letterboxed into it.
    Result resize(Size pixels);
    // Presses the button titled `title` of the open alert.
    Result alert(const std::string& title);
    // The window as a PNG: the screen at the application's scale, letterboxed into the window's size.
    Result screenshot(const std::string& path) const;

    // The window's tree, model values: one object per view with "class", "id", "frame", "screenFrame",
    // "alpha", "hidden", "interaction", "transform", "title", "text", "image" and "subviews".
    Json dumpTree() const;
    static Json describe(const View& view);
    Json state() const { return Application::shared().state(); }

    // The control that `press(text)` would tap, or null.
    Control* findControl(const std::string& text) const;
    // The screen as it shows now (ARGB32 at the application's scale; valid until the next call).
    cairo_surface_t* render() const;
    // The whole window as it shows now, margin included (ARGB32 of the window's pixel size).
    cairo_surface_t* renderWindow() const;
    // The view with this identifier in the window's tree, or null.
    View* find(const std::string& identifier) const;

private:
    std::function<void(Float)> advancer_;
    mutable std::unique_ptr<Renderer> renderer_;
    mutable std::shared_ptr<cairo_surface_t> window_;
};

} // namespace ui
