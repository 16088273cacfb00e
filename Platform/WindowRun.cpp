#include "Platform/WindowRun.h"

#include "Platform/Animation.h"
#include "Platform/Application.h"
#include "Platform/RunLoop.h"

#include <algorithm>

namespace ui {

namespace {

constexpr Float frameInterval = 1.0 / 60;
// How long the window may sleep while the run loop watches descriptors that the window's wait cannot see.
constexpr Float watchedDescriptorInterval = 1.0;

using Type = InputEvent::Type;

bool isFingerEvent(Type type) {
    return type == Type::FingerDown || type == Type::FingerMove || type == Type::FingerUp;
}

void deliverFingers(Type type, const std::vector<FingerSample>& fingers) {
    auto& app = Application::shared();
    if (type == Type::FingerDown)
        app.beginTouches(fingers);
    else if (type == Type::FingerMove)
        app.moveTouches(fingers);
    else
        app.endTouches(fingers);
}

} // namespace

WindowRun::WindowRun(std::unique_ptr<SdlWindow> window) : window_(std::move(window)) {
    followWindowSize();
    Application::shared().setWindowRequests(
        {[this](Size pixels) { window_->resize(pixels); },
         [this](bool fullScreen) { window_->setFullScreen(fullScreen); }});
}

WindowRun::~WindowRun() {
    Application::shared().setWindowRequests({});
    RunLoop::main().setWaker(nullptr);
}

std::unique_ptr<WindowRun> WindowRun::open(const std::string& title, const WindowSizing& sizing,
                                           std::string& error) {
    auto window = SdlWindow::open(title, Application::screenSize, sizing, error);
    if (!window)
        return nullptr;
    RunLoop::main().reset(RunLoop::Clock::Real);
    RunLoop::main().setWaker(&SdlWindow::wake);
    return std::unique_ptr<WindowRun>(new WindowRun(std::move(window)));
}

void WindowRun::followWindowSize() {
    auto& app = Application::shared();
    app.setWindowPixelSize(window_->pixelSize());
    app.setFullScreen(window_->isFullScreen());
    exposed_ = true;
}

bool WindowRun::finished() const {
    return closed_ || Application::shared().quitRequested();
}

void WindowRun::run() {
    while (!finished())
        iterate(std::nullopt);
}

void WindowRun::runFor(Float seconds) {
    auto& loop = RunLoop::main();
    Float until = loop.wallTime() + seconds;
    while (!finished() && loop.wallTime() < until)
        iterate(until);
    loop.advanceTo(std::min(until, loop.wallTime()));
}

void WindowRun::iterate(std::optional<Float> until) {
    auto& loop = RunLoop::main();
    loop.advanceTo(loop.wallTime());
    drawIfNeeded();
    if (finished())
        return;
    handle(window_->waitEvent(waitTimeout(until)));
    loop.advanceTo(loop.wallTime());
}

Float WindowRun::waitTimeout(std::optional<Float> until) const {
    auto& loop = RunLoop::main();
    Float now = loop.wallTime();
    std::optional<Float> wake = until;
    auto earliest = [&](Float time) { wake = wake ? std::min(*wake, time) : time; };
    if (auto due = loop.nextDueTime())
        earliest(*due);
    if (wasAnimating_)
        earliest(lastFrame_ + frameInterval);
    if (loop.hasWatches())
        earliest(now + watchedDescriptorInterval);
    if (loop.hasPosted())
        return 0;
    if (!wake)
        return -1; // nothing to do until input arrives
    return std::max(*wake - now, 0.0);
}

void WindowRun::handle(const std::vector<InputEvent>& events) {
    // Fingers that change together (the mouse and its mirrored twin) reach the views as one set.
    std::vector<FingerSample> batch;
    Type batchType = Type::Expose;
    auto flush = [&] {
        if (!batch.empty())
            deliverFingers(batchType, batch);
        batch.clear();
    };
    auto& app = Application::shared();
    for (auto& event : events) {
        if (isFingerEvent(event.type)) {
            bool sameFinger =
                std::any_of(batch.begin(), batch.end(), [&](auto& f) { return f.finger == event.finger; });
            if (event.type != batchType || sameFinger)
                flush();
            batchType = event.type;
            batch.push_back({event.finger, event.point});
            continue;
        }
        flush();
        switch (event.type) {
        case Type::Text:
            // Without a focused field a typed character is a key ("/", "?", "+").
            if (!app.sendText(event.text) && event.text.size() == 1)
                app.pressKey(event.text);
            break;
        case Type::Key:
            app.pressKey(event.text);
            break;
        case Type::Wheel:
            app.scrollWheel(event.point, event.scroll);
            break;
        case Type::Resized:
            followWindowSize();
            break;
        case Type::Quit:
            closed_ = true;
            break;
        case Type::Expose:
            exposed_ = true;
            break;
        default:
            break;
        }
    }
    flush();
}

void WindowRun::drawIfNeeded() {
    bool animating = Animation::isRunning();
    bool changed = frames_ == 0 || View::displayGeneration() != renderedGeneration_;
    if (!changed && !animating && !wasAnimating_ && !exposed_)
        return;
    auto& app = Application::shared();
    renderedGeneration_ = View::displayGeneration();
    if (window_->present(compose(*app.window(), Application::screenSize, app.scale()), exposed_))
        ++frames_;
    lastFrame_ = RunLoop::main().wallTime();
    // One more frame after the last animation ends, so that its final state shows.
    wasAnimating_ = animating;
    exposed_ = false;
}

} // namespace ui
