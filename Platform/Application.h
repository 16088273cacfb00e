#pragma once
// The application: the one window, touch and key input, opened addresses, and what the automation's
// `state` command reports.
//
// The window is a view of 320 x 480 points at the root of the tree; screens are its subviews.
//
// Touches: each finger that goes down is hit-tested from the window, and the view found takes every
// phase of that touch until the finger lifts (it stays the touch's `view()` even when the touch is
// passed up the responder chain). Fingers that go down, move or lift together arrive in one call and
// reach each view as one TouchSet. A finger that lands on nothing touchable is ignored to its end.
// When a touch taken by something inside a scrolling view has moved far enough, the scroll view takes
// it over (the view that had it gets touchesCancelled).

#include "Platform/Geometry.h"
#include "Platform/ModalAlert.h"
#include "Platform/View.h"

#include <functional>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace ui {

using Json = nlohmann::ordered_json;

// One finger's position in window points.
struct FingerSample {
    int finger = 0;
    Point location;
};

class Application {
public:
    static constexpr Size screenSize{320, 480};

    static Application& shared();

    const ViewPtr& window() const { return window_; }

    bool isHeadless() const { return headless_; }
    void setHeadless(bool headless) { headless_ = headless; }

    // ---- The window. Its size in pixels decides the pixels per point: the screen is letterboxed into
    // it (Letterbox.h). Headless it is a virtual window; a window run keeps it in step with the real
    // one and carries out the requests below on it.
    Size windowPixelSize() const { return windowPixels_; }
    void setWindowPixelSize(Size pixels);
    // Pixels per point of the screen (and of screenshots).
    Float scale() const;
    // Makes the window exactly `scale` pixels per point, without margin.
    void setScale(Float scale);
    bool isFullScreen() const { return fullScreen_; }
    void setFullScreen(bool fullScreen) { fullScreen_ = fullScreen; }
    // What a window run does when the program or a script asks for another size or full screen;
    // without them the requests change the virtual window at once.
    struct WindowRequests {
        std::function<void(Size pixels)> resize;
        std::function<void(bool fullScreen)> setFullScreen;
    };
    void setWindowRequests(WindowRequests requests) { windowRequests_ = std::move(requests); }
    void requestWindowPixelSize(Size pixels);
    void toggleFullScreen();

    // Touch input, window points.
    void beginTouches(const std::vector<FingerSample>& fingers);
    void moveTouches(const std::vector<FingerSample>& fingers);
    void endTouches(const std::vector<FingerSample>& fingers);
    void cancelAllTouches();

    // Key input for the first responder (a focused text field); false when nothing has the focus.
    bool sendText(const std::string& text);
    // "Return", "Escape" or "BackSpace"; false for other names or when nothing has the focus.
    bool sendKey(const std::string& name);

    // ---- Keys as the keyboard gives them. Names: "Left", "Right", "Up", "Down", "Escape", "Return",
    // "BackSpace", "Tab", "Home", "End", "PageUp", "PageDown", "F1" ... "F12", or one printable
    // character ("i", "?", "/"); "ctrl+" or "alt+" in front for a held modifier ("ctrl+q").
    // The key's canonical name ("escape" -> "Escape", "Ctrl+Q" -> "ctrl+q"), or "" for no key.
    static std::string keyName(const std::string& name);
    enum class KeyFocus { Nothing, TextField };
    // The program's keys: gets every key the toolkit does not take itself and says whether it acted.
    using KeyHandler = std::function<bool(const std::string& name, KeyFocus focus)>;
    void setKeyHandler(KeyHandler handler) { keyHandler_ = std::move(handler); }
    // Delivers a key: the focused text field takes Return, Escape and BackSpace and has a character
    // typed into it; F11 toggles full screen; the key handler gets the rest, told whether a text field
    // has the focus. False when nothing took the key.
    bool pressKey(const std::string& name);

    // ---- The mouse wheel or touchpad: scrolls the front-most scroll view under `point` (screen
    // points) that can scroll, by `dy` points (positive: further down the content), within the same
    // ends as a drag. False when nothing there scrolls.
    bool scrollWheel(Point point, Float dy);

    // Addresses handed to the browser (or, headless, recorded instead), in order.
    void recordOpenedURL(std::string url) { openedURLs_.push_back(std::move(url)); }
    const std::vector<std::string>& openedURLs() const { return openedURLs_; }

    // The open alert, if any (the alert view registers itself while it is shown).
    void setModalAlert(std::weak_ptr<ModalAlert> alert) { alert_ = std::move(alert); }
    ModalAlert* modalAlert() const { return alert_.lock().get(); }

    // What `state` reports: "time" (clock seconds), "interaction" (whether the window and its
    // front-most screen take touches), "alert" (null or the open alert's description), "openedURLs",
    // "windowSize" ([width, height] in pixels), "pixelsPerPoint", "fullscreen", then
    // one key per provider with the value it returns, in the order they were added. Adding a provider
    // under a name that exists replaces it; a provider named like a toolkit key replaces that key's value
    // (a program that knows better which view's interaction counts reports "interaction" itself).
    using StateProvider = std::function<Json()>;
    void addStateProvider(const std::string& key, StateProvider provider);
    void removeStateProvider(const std::string& key);
    Json state() const;

    // Ends a window run after the current event with this exit status.
    void quit(int status = 0);
    bool quitRequested() const { return quitRequested_; }
    int exitStatus() const { return exitStatus_; }

    // A fresh window and no touches, addresses, alert, providers, key handler, window requests, full
    // screen or quit request (tests, runMain); the window's size stays.
    void reset();

private:
    struct TrackedTouch {
        std::weak_ptr<View> owner;
        std::weak_ptr<View> hitView;
        Point start, location;
    };
    using Delivery = std::vector<std::pair<std::shared_ptr<View>, std::vector<Touch>>>;

    Application();
    void takeOverByScrollView(int finger, TrackedTouch& touch);
    static void addToDelivery(Delivery& delivery, const std::shared_ptr<View>& owner, Touch touch);

    ViewPtr window_;
    bool headless_ = true;
    Size windowPixels_{screenSize.width * 2, screenSize.height * 2};
    bool fullScreen_ = false;
    WindowRequests windowRequests_;
    KeyHandler keyHandler_;
    std::map<int, TrackedTouch> touches_;
    std::vector<std::string> openedURLs_;
    std::weak_ptr<ModalAlert> alert_;
    std::vector<std::pair<std::string, StateProvider>> providers_;
    bool quitRequested_ = false;
    int exitStatus_ = 0;
};

} // namespace ui
