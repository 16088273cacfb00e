// Frame times of four animations at a chosen scale, the processor share of a blinking start screen, and
// the processor time of an idle window.
//
//   bench_frame [--scale S]          cross-fade, entering transition, views chooser sliding and blinking
//                                    start label, 600 frames each, then the blinking start screen for 10 s
//                                    in a window run; with a display the frames are composited and shown
//                                    in a window, else composited with Cairo only
//   bench_frame --idle [--scale S]   processor time of an idle window over 10 s (needs a display)
//
// Under a virtual display: xvfb-run -a -s "-screen 0 1024x1600x24" build/bench_frame --scale 3
//
// Each frame moves the virtual clock on by 1/60 s and restarts its animation when it ends, so every frame
// shows movement. "Drawing" is building the frame (layers drawn where their content changed); "drawn and
// shown" adds compositing and showing it. Processor time is the whole process's (the graphics driver's
// threads included; the X server's is its own). The busy screen: two full-screen pictures, twenty small
// pictures with transforms, thirty labels, one long wrapped text and a stretched panel.

#include "Platform/Animation.h"
#include "Platform/Application.h"
#include "Platform/Compositor.h"
#include "Platform/Driver.h"
#include "Platform/ImageView.h"
#include "Platform/Label.h"
#include "Platform/LayerCache.h"
#include "Platform/Renderer.h"
#include "Platform/RunLoop.h"
#include "Platform/ScrollView.h"
#include "Platform/SdlWindow.h"
#include "Platform/TextView.h"
#include "Platform/Timer.h"
#include "Platform/WindowRun.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <iomanip>
#include <iostream>
#include <memory>
#include <string>
#include <sys/resource.h>
#include <vector>

using namespace ui;

namespace {

constexpr int framesPerCase = 600;
constexpr double frameInterval = 1.0 / 60;
constexpr double idleSeconds = 10;

// A picture with detail everywhere (gradients and rings), so that blending and scaling do real work.
Image detailedPicture(Size points, Float scale, double hue) {
    ImageContext context(points, scale);
    cairo_t* cr = context.cairo();
    cairo_pattern_t* gradient = cairo_pattern_create_linear(0, 0, points.width, points.height);
    cairo_pattern_add_color_stop_rgb(gradient, 0, hue, 0.3, 1 - hue);
    cairo_pattern_add_color_stop_rgb(gradient, 1, 1 - hue, 0.8, hue);
    cairo_set_source(cr, gradient);
    cairo_paint(cr);
    cairo_pattern_destroy(gradient);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.5);
    for (int ring = 1; ring < 40; ++ring) {
        cairo_arc(cr, points.width / 2, points.height / 2, ring * 6.0, 0, 2 * M_PI);
        cairo_stroke(cr);
    }
    return context.image();
}

Image panelPicture() {
    ImageContext context({40, 44}, 2);
    cairo_set_source_rgba(context.cairo(), 0.1, 0.1, 0.15, 0.85);
    cairo_paint(context.cairo());
    return context.image().stretchable(17, 21);
}

struct BusyScreen {
    ImageViewPtr first, second;
    std::vector<ImageViewPtr> smallPictures;
};

// Pictures of 384 x 576 points at scale 2 shown in the 320 x 480 screen: they are rescaled to draw.
BusyScreen buildBusyScreen(View& window) {
    BusyScreen screen;
    screen.first = make<ImageView>(Rect{0, 0, 320, 480});
    screen.first->setImage(detailedPicture({384, 576}, 2, 0.2));
    screen.second = make<ImageView>(Rect{0, 0, 320, 480});
    screen.second->setImage(detailedPicture({384, 576}, 2, 0.8));
    screen.second->setAlpha(0);
    window.addSubview(screen.first);
    window.addSubview(screen.second);

    Image ring = detailedPicture({30, 30}, 2, 0.5);
    for (int i = 0; i < 20; ++i) {
        auto picture = make<ImageView>(ring);
        picture->setCenter({30.0 + (i % 5) * 60, 60.0 + (i / 5) * 60});
        picture->setTransform(AffineTransform::scale(1 + 0.05 * i, 1 + 0.05 * i).rotated(0.1 * i));
        window.addSubview(picture);
        screen.smallPictures.push_back(picture);
    }
    for (int i = 0; i < 30; ++i) {
        auto label = make<Label>(Rect{10.0 + (i % 2) * 150, 250.0 + (i / 2) * 14, 140, 14});
        label->setBackgroundColor(Color::clear());
        label->setTextColor(Color::white());
        label->setFont(Font::system(12));
        label->setText("Label number " + std::to_string(i));
        window.addSubview(label);
    }
    auto panel = make<ImageView>(Rect{10, 300, 300, 170});
    panel->setImage(panelPicture());
    window.addSubview(panel);
    auto text = make<TextView>(Rect{10, 305, 300, 160});
    text->setBackgroundColor(Color::clear());
    text->setTextColor(Color::white());
    text->setFont(Font::system(13));
    std::string words;
    for (int i = 0; i < 120; ++i)
        words += "The long head of the muscle arises from the supraglenoid tubercle. ";
    text->setText(words);
    window.addSubview(text);
    return screen;
}

void startCrossFade(BusyScreen& screen) {
    bool firstShown = screen.first->alpha() > 0;
    Animation::run(0.85, [&] {
        screen.first->setAlpha(firstShown ? 0 : 1);
        screen.second->setAlpha(firstShown ? 1 : 0);
    });
}

// The zoom into a region: the shown picture grows and fades, the new one grows from small to full.
void startEnteringTransition(BusyScreen& screen) {
    std::swap(screen.first, screen.second);
    screen.first->setTransform(AffineTransform::identity());
    screen.first->setAlpha(1);
    screen.second->setTransform(AffineTransform::scale(0.3, 0.3));
    screen.second->setAlpha(0);
    Animation::run(0.8, [&] {
        screen.first->setTransform(AffineTransform::scale(1 / 0.3, 1 / 0.3));
        screen.second->setTransform(AffineTransform::identity());
        screen.first->setAlpha(0);
        screen.second->setAlpha(1);
    });
}

// The views chooser: a panel of thumbnails with their names slides up over the busy screen and down.
struct Chooser {
    ViewPtr panel;
    bool shown = false;
};

Chooser buildChooser(View& window) {
    Chooser chooser;
    chooser.panel = make<ImageView>(Rect{0, 480, 320, 150});
    static_cast<ImageView&>(*chooser.panel).setImage(panelPicture());
    auto strip = make<ScrollView>(Rect{5, 5, 310, 140});
    strip->setContentSize({6 * 100, 140});
    chooser.panel->addSubview(strip);
    for (int i = 0; i < 6; ++i) {
        auto thumbnail = make<ImageView>(Rect{10.0 + i * 100, 5, 80, 100});
        thumbnail->setImage(detailedPicture({80, 100}, 2, 0.1 * i));
        strip->addSubview(thumbnail);
        auto name = make<Label>(Rect{5.0 + i * 100, 110, 90, 20});
        name->setBackgroundColor(Color::clear());
        name->setTextColor(Color::white());
        name->setFont(Font::system(12));
        name->setText("View " + std::to_string(i + 1));
        strip->addSubview(name);
    }
    window.addSubview(chooser.panel);
    return chooser;
}

// The start screen: a full-screen picture whose "Loading..." label fades in and out.
ViewPtr buildStartScreen(View& window) {
    auto picture = make<ImageView>(Rect{0, 0, 320, 480});
    picture->setImage(detailedPicture({320, 480}, 2, 0.4));
    window.addSubview(picture);
    auto label = make<Label>(Rect{100, 139, 140, 20});
    label->setBackgroundColor(Color::clear());
    label->setTextAlignment(TextAlignment::Center);
    label->setFont(Font::system(14));
    label->setTextColor(Color::rgb255(218, 118, 214));
    label->setText("Loading...");
    picture->addSubview(label);
    return label;
}

constexpr double blinkInterval = 0.7, blinkDuration = 0.5;

void blink(View& label) {
    Animation::run(blinkDuration, [&] { label.setAlpha(label.alpha() == 0 ? 1 : 0); });
}

struct Figures {
    double median, p99, worst;
};

Figures summarise(std::vector<double> milliseconds) {
    std::sort(milliseconds.begin(), milliseconds.end());
    auto at = [&](double share) {
        return milliseconds[static_cast<std::size_t>(share * (milliseconds.size() - 1))];
    };
    return {at(0.5), at(0.99), milliseconds.back()};
}

void report(const std::string& name, const Figures& f) {
    std::cout << std::left << std::setw(62) << name << std::right << std::fixed << std::setprecision(2)
              << " median " << std::setw(6) << f.median << " ms   p99 " << std::setw(6) << f.p99
              << " ms   max " << std::setw(6) << f.worst << " ms\n";
}

// The processor time of all of this process's threads in milliseconds: unlike the wall clock, not
// inflated when other programs share the processor.
double processorMilliseconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

double megabytes(std::size_t bytes) {
    return static_cast<double>(bytes) / (1 << 20);
}

struct Options {
    Float scale = 2;
    bool idle = false;
};

struct Case {
    std::string name;
    // Builds the scene in the window and returns what starts its animation again.
    std::function<std::function<void()>(View&)> build;
};

void runCase(const Case& bench, const Options& options, SdlWindow* window) {
    Driver::resetToolkit(options.scale);
    LayerCache::shared().clear();
    auto& app = Application::shared();
    auto start = bench.build(*app.window());
    Renderer renderer(Application::screenSize, options.scale);
    renderer.render(*app.window()); // at rest: the first layers are drawn here
    LayerCache::shared().resetPeak();
    std::vector<double> drawing, drawingProcessor, frames, framesProcessor;
    for (int frame = 0; frame < framesPerCase; ++frame) {
        if (!Animation::isRunning())
            start();
        RunLoop::main().advance(frameInterval);
        auto begin = std::chrono::steady_clock::now();
        double processorBegin = processorMilliseconds();
        Composition composition = compose(*app.window(), Application::screenSize, options.scale);
        auto drawn = std::chrono::steady_clock::now();
        double processorDrawn = processorMilliseconds();
        if (window) {
            window->present(composition);
            window->waitEvent(0);
        } else {
            renderer.render(composition);
        }
        auto shown = std::chrono::steady_clock::now();
        drawing.push_back(std::chrono::duration<double, std::milli>(drawn - begin).count());
        frames.push_back(std::chrono::duration<double, std::milli>(shown - begin).count());
        drawingProcessor.push_back(processorDrawn - processorBegin);
        framesProcessor.push_back(processorMilliseconds() - processorBegin);
    }
    std::string shown = window ? "drawn and shown" : "drawn and composited with Cairo";
    report(bench.name + ", drawing, wall", summarise(drawing));
    report(bench.name + ", " + shown + ", wall", summarise(frames));
    report(bench.name + ", " + shown + ", processor", summarise(framesProcessor));
    std::cout << "    layer cache peak " << std::setprecision(1)
              << megabytes(LayerCache::shared().peakBytes()) << " MB\n";
}

std::vector<Case> cases() {
    auto busy = [](void (*start)(BusyScreen&)) {
        return [start](View& window) -> std::function<void()> {
            auto screen = std::make_shared<BusyScreen>(buildBusyScreen(window));
            return [screen, start] { start(*screen); };
        };
    };
    auto chooser = [](View& window) -> std::function<void()> {
        buildBusyScreen(window);
        auto shown = std::make_shared<Chooser>(buildChooser(window));
        return [shown] {
            shown->shown = !shown->shown;
            Animation::run(0.4, [&] { shown->panel->setCenter({160, shown->shown ? 405.0 : 555.0}); });
        };
    };
    auto startLabel = [](View& window) -> std::function<void()> {
        ViewPtr label = buildStartScreen(window);
        return [label] { blink(*label); };
    };
    return {{"busy screen, cross-fade", busy(startCrossFade)},
            {"busy screen, entering transition", busy(startEnteringTransition)},
            {"views chooser sliding", chooser},
            {"start screen, blinking label", startLabel}};
}

double processorSeconds() {
    return processorMilliseconds() / 1e3;
}

// Runs the window as the program does for `seconds` after a second of settling; the processor share.
void measureWindow(const std::string& name, WindowRun& window, double seconds) {
    window.runFor(1);
    auto framesBefore = window.framesDrawn();
    double before = processorSeconds();
    window.runFor(seconds);
    double used = processorSeconds() - before;
    std::cout << std::fixed << std::setprecision(3) << name << " over " << seconds << " s: " << used
              << " s of processor time (" << std::setprecision(2) << 100 * used / seconds << " % of a core), "
              << window.framesDrawn() - framesBefore << " frames drawn\n";
}

std::unique_ptr<WindowRun> openWindowRun(const Options& options) {
    Driver::resetToolkit(options.scale);
    LayerCache::shared().clear();
    std::string error;
    auto window = WindowRun::open("bench_frame", WindowSizing{options.scale, std::nullopt}, error);
    if (!window)
        std::cerr << "bench_frame: no window: " << error << "\n";
    return window;
}

int measureIdle(const Options& options) {
    auto window = openWindowRun(options);
    if (!window)
        return 1;
    buildBusyScreen(*Application::shared().window());
    int ticks = 0;
    // Like the hotspot pulse: a repeating timer that usually has nothing to change.
    auto pulse = Timer::scheduled(0.85, true, [&] { ++ticks; });
    measureWindow("idle window", *window, idleSeconds);
    pulse->invalidate();
    std::cout << "    " << ticks << " timer ticks\n";
    return 0;
}

int measureBlinkingStartScreen(const Options& options) {
    auto window = openWindowRun(options);
    if (!window)
        return 1;
    ViewPtr label = buildStartScreen(*Application::shared().window());
    auto timer = Timer::scheduled(blinkInterval, true, [label] { blink(*label); });
    measureWindow("blinking start screen", *window, idleSeconds);
    timer->invalidate();
    return 0;
}

Options parse(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--idle") == 0)
            options.idle = true;
        else if (std::strcmp(argv[i], "--scale") == 0 && i + 1 < argc)
            options.scale = std::clamp(std::atof(argv[++i]), 0.5, 8.0);
    }
    return options;
}

} // namespace

// The X server starts afresh when its last client leaves (as a virtual display does by default), and a
// window opened in that moment finds no display: SDL falls back to a driver that shows nothing. Keeping
// SDL's video running between the bench's windows keeps the connection.
struct DisplayConnection {
    bool held = std::getenv("DISPLAY") && SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
    ~DisplayConnection() {
        if (held)
            SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
};

int main(int argc, char** argv) {
    Options options = parse(argc, argv);
    DisplayConnection connection;
    if (options.idle)
        return measureIdle(options);
    std::unique_ptr<SdlWindow> window;
    std::string error;
    if (connection.held)
        window = SdlWindow::open("bench_frame", Application::screenSize,
                                 WindowSizing{options.scale, std::nullopt}, error);
    std::cout << "scale " << options.scale << ": ";
    if (window)
        std::cout << "frames are composited and shown in a window (SDL renderer: " << window->rendererName()
                  << (window->compositesOnGpu() ? ", layers composited on the graphics processor"
                                                : ", composited with Cairo, changed part copied")
                  << ")\n";
    else
        std::cout << "no display: frames are composited with Cairo but not shown (run under xvfb-run)\n";
    for (const Case& bench : cases())
        runCase(bench, options, window.get());
    if (!window)
        return 0;
    window.reset();
    return measureBlinkingStartScreen(options);
}
