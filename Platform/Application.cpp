#include "Platform/Application.h"

#include "Platform/Letterbox.h"
#include "Platform/Renderer.h"
#include "Platform/RunLoop.h"
#include "Platform/ScrollView.h"

#include <array>
#include <cctype>
#include <cmath>

namespace ui {

namespace {

ViewPtr makeWindow() {
    auto window = make<View>(Rect(Point{}, Application::screenSize));
    window->setIdentifier("window");
    return window;
}

ScrollView* enclosingScrollView(View* view) {
    for (View* v = view ? view->superview() : nullptr; v; v = v->superview()) {
        if (auto* scroll = dynamic_cast<ScrollView*>(v); scroll && scroll->canScroll())
            return scroll;
    }
    return nullptr;
}

// The scroll view that `view` is in (or is) and that can scroll vertically.
ScrollView* verticalScrollViewAt(View* view) {
    for (View* v = view; v; v = v->superview()) {
        if (auto* scroll = dynamic_cast<ScrollView*>(v);
            scroll && scroll->canScroll() && scroll->maximumContentOffset().y > 0)
            return scroll;
    }
    return nullptr;
}

constexpr std::array namedKeys{"Left", "Right", "Up",     "Down",     "Escape", "Return", "BackSpace", "Tab",
                               "Home", "End",   "PageUp", "PageDown", "F1",     "F2",     "F3",        "F4",
                               "F5",   "F6",    "F7",     "F8",       "F9",     "F10",    "F11",       "F12"};

bool sameLetters(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// The canonical name of a key without modifiers, or "".
std::string plainKeyName(const std::string& name) {
    for (const char* known : namedKeys) {
        if (sameLetters(name, known))
            return known;
    }
    bool oneCharacter = name.size() == 1 && std::isprint(static_cast<unsigned char>(name[0]));
    return oneCharacter ? name : "";
}

bool isFieldKey(const std::string& name) {
    return name == "Return" || name == "Escape" || name == "BackSpace";
}

enum class Phase { Began, Moved, Ended };

void deliver(Phase phase, const std::shared_ptr<View>& owner, std::vector<Touch> touches) {
    TouchSet set(std::move(touches));
    switch (phase) {
    case Phase::Began:
        owner->touchesBegan(set);
        break;
    case Phase::Moved:
        owner->touchesMoved(set);
        break;
    case Phase::Ended:
        owner->touchesEnded(set);
        break;
    }
}

} // namespace

Application::Application() : window_(makeWindow()) {}

Application& Application::shared() {
    static Application application;
    return application;
}

void Application::addToDelivery(Delivery& delivery, const std::shared_ptr<View>& owner, Touch touch) {
    for (auto& [view, touches] : delivery) {
        if (view == owner) {
            touches.push_back(std::move(touch));
            return;
        }
    }
    delivery.push_back({owner, {std::move(touch)}});
}

void Application::beginTouches(const std::vector<FingerSample>& fingers) {
    Delivery delivery;
    for (auto& [finger, location] : fingers) {
        if (touches_.contains(finger))
            continue;
        View* hit = window_->hitTest(window_->convertFrom(location, nullptr));
        auto hitView = hit ? hit->shared_from_this() : nullptr;
        touches_[finger] = {hitView, hitView, location, location};
        if (hitView)
            addToDelivery(delivery, hitView, Touch(finger, hitView, location, location, TouchPhase::Began));
    }
    for (auto& [owner, touches] : delivery)
        deliver(Phase::Began, owner, std::move(touches));
}

void Application::takeOverByScrollView(int finger, TrackedTouch& touch) {
    auto owner = touch.owner.lock();
    if (!owner || dynamic_cast<ScrollView*>(owner.get()))
        return;
    Point moved = touch.location - touch.start;
    if (std::hypot(moved.x, moved.y) <= ScrollView::dragDistance)
        return;
    auto* scroll = enclosingScrollView(owner.get());
    if (!scroll)
        return;
    owner->touchesCancelled(
        TouchSet({Touch(finger, touch.hitView, touch.location, touch.location, TouchPhase::Cancelled)}));
    scroll->beginDragging(touch.start);
    touch.owner = scroll->weak_from_this();
}

void Application::moveTouches(const std::vector<FingerSample>& fingers) {
    Delivery delivery;
    for (auto& [finger, location] : fingers) {
        auto it = touches_.find(finger);
        if (it == touches_.end())
            continue;
        auto& touch = it->second;
        Point previous = touch.location;
        touch.location = location;
        takeOverByScrollView(finger, touch);
        if (auto owner = touch.owner.lock())
            addToDelivery(delivery, owner,
                          Touch(finger, touch.hitView, location, previous, TouchPhase::Moved));
    }
    for (auto& [owner, touches] : delivery)
        deliver(Phase::Moved, owner, std::move(touches));
}

void Application::endTouches(const std::vector<FingerSample>& fingers) {
    Delivery delivery;
    for (auto& [finger, location] : fingers) {
        auto it = touches_.find(finger);
        if (it == touches_.end())
            continue;
        auto touch = it->second;
        touches_.erase(it);
        if (auto owner = touch.owner.lock())
            addToDelivery(delivery, owner,
                          Touch(finger, touch.hitView, location, touch.location, TouchPhase::Ended));
    }
    for (auto& [owner, touches] : delivery)
        deliver(Phase::Ended, owner, std::move(touches));
}

void Application::cancelAllTouches() {
    auto touches = std::move(touches_);
    touches_.clear();
    for (auto& [finger, touch] : touches) {
        if (auto owner = touch.owner.lock())
            owner->touchesCancelled(TouchSet(
                {Touch(finger, touch.hitView, touch.location, touch.location, TouchPhase::Cancelled)}));
    }
}

bool Application::sendText(const std::string& text) {
    auto* responder = Responder::firstResponder();
    if (!responder)
        return false;
    responder->insertText(text);
    return true;
}

bool Application::sendKey(const std::string& name) {
    auto* responder = Responder::firstResponder();
    if (!responder || (name != "Return" && name != "Escape" && name != "BackSpace"))
        return false;
    responder->pressKey(name);
    return true;
}

std::string Application::keyName(const std::string& name) {
    for (const char* modifier : {"ctrl+", "alt+"}) {
        std::string prefix = modifier;
        if (name.size() > prefix.size() && sameLetters(name.substr(0, prefix.size()), prefix)) {
            std::string key = plainKeyName(name.substr(prefix.size()));
            if (key.size() == 1)
                key[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(key[0])));
            return key.empty() ? "" : prefix + key;
        }
    }
    return plainKeyName(name);
}

bool Application::pressKey(const std::string& name) {
    std::string key = keyName(name);
    if (key.empty())
        return false;
    if (key == "F11") {
        toggleFullScreen();
        return true;
    }
    Responder* field = Responder::firstResponder();
    if (field && isFieldKey(key))
        return sendKey(key);
    if (field && key.size() == 1)
        return sendText(key);
    return keyHandler_ && keyHandler_(key, field ? KeyFocus::TextField : KeyFocus::Nothing);
}

bool Application::scrollWheel(Point point, Float dy) {
    View* hit = window_->hitTest(window_->convertFrom(point, nullptr));
    ScrollView* scroll = verticalScrollViewAt(hit);
    if (!scroll || dy == 0)
        return false;
    scroll->scrollBy({0, dy});
    return true;
}

void Application::setWindowPixelSize(Size pixels) {
    if (!(pixels.width >= 1 && pixels.height >= 1))
        return;
    windowPixels_ = pixels;
    Renderer::setSnapshotScale(scale());
}

Float Application::scale() const {
    return Letterbox(screenSize, windowPixels_).scale();
}

void Application::setScale(Float scale) {
    setWindowPixelSize({std::round(screenSize.width * scale), std::round(screenSize.height * scale)});
}

void Application::requestWindowPixelSize(Size pixels) {
    if (windowRequests_.resize)
        windowRequests_.resize(pixels);
    else
        setWindowPixelSize(pixels);
}

void Application::toggleFullScreen() {
    if (windowRequests_.setFullScreen)
        windowRequests_.setFullScreen(!fullScreen_);
    else
        fullScreen_ = !fullScreen_;
}

void Application::addStateProvider(const std::string& key, StateProvider provider) {
    for (auto& [name, existing] : providers_) {
        if (name == key) {
            existing = std::move(provider);
            return;
        }
    }
    providers_.emplace_back(key, std::move(provider));
}

void Application::removeStateProvider(const std::string& key) {
    std::erase_if(providers_, [&](const auto& entry) { return entry.first == key; });
}

Json Application::state() const {
    bool interaction = window_->isUserInteractionEnabled();
    if (!window_->subviews().empty())
        interaction = interaction && window_->subviews().back()->isUserInteractionEnabled();
    Json state;
    state["time"] = RunLoop::main().now();
    state["interaction"] = interaction;
    auto* alert = modalAlert();
    state["alert"] = alert ? alert->description() : Json(nullptr);
    state["openedURLs"] = openedURLs_;
    state["windowSize"] = Json::array({std::lround(windowPixels_.width), std::lround(windowPixels_.height)});
    state["pixelsPerPoint"] = std::round(scale() * 1e6) / 1e6;
    state["fullscreen"] = fullScreen_;
    auto providers = providers_;
    for (auto& [key, provider] : providers)
        state[key] = provider ? provider() : Json(nullptr);
    return state;
}

void Application::quit(int status) {
    quitRequested_ = true;
    exitStatus_ = status;
}

void Application::reset() {
    cancelAllTouches();
    window_ = makeWindow();
    openedURLs_.clear();
    alert_.reset();
    providers_.clear();
    keyHandler_ = nullptr;
    windowRequests_ = {};
    fullScreen_ = false;
    quitRequested_ = false;
    exitStatus_ = 0;
}

} // namespace ui
