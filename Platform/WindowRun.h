#pragma once
// The program in a desktop window: real clock, input from the window, and a new frame only when
// something changed or an animation runs. Between frames the loop sleeps in the window's event wait
// until input arrives or the next timer falls due, so an idle program uses no processor time.

#include "Platform/Compositor.h"
#include "Platform/SdlWindow.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ui {

class WindowRun {
public:
    // Opens the window (SdlWindow::open) and starts the real clock; the application follows the window's
    // size and carries out its resize and full screen requests on it. Null with `error` when no window
    // can be opened.
    static std::unique_ptr<WindowRun> open(const std::string& title, const WindowSizing& sizing,
                                           std::string& error);

    ~WindowRun();
    WindowRun(const WindowRun&) = delete;
    WindowRun& operator=(const WindowRun&) = delete;

    // Runs until the window is closed or the program quits.
    void run();
    // Runs for `seconds` of real time (a script's wait), or less when the program quits meanwhile.
    void runFor(Float seconds);

    // Frames drawn so far (a frame that changed nothing on the screen draws nothing).
    std::uint64_t framesDrawn() const { return frames_; }
    SdlWindow& window() { return *window_; }

private:
    explicit WindowRun(std::unique_ptr<SdlWindow> window);
    void iterate(std::optional<Float> until);
    Float waitTimeout(std::optional<Float> until) const;
    void handle(const std::vector<InputEvent>& events);
    void drawIfNeeded();
    bool finished() const;
    void followWindowSize();

    std::unique_ptr<SdlWindow> window_;
    std::uint64_t renderedGeneration_ = 0;
    bool wasAnimating_ = false;
    bool exposed_ = true;
    bool closed_ = false;
    Float lastFrame_ = -1;
    std::uint64_t frames_ = 0;
};

} // namespace ui
