// Frame times of a busy screen at scale 2, and the processor time of an idle window.
//
//   bench_frame             cross-fade and entering transition, 600 frames each; with a display the
//                           frames are also shown in a window (upload included), else drawn only
//   bench_frame --idle      processor time of an idle window over 10 s (needs a display)
//
// Under a virtual display: xvfb-run -a -s "-screen 0 1024x1280x24" build/bench_frame
//
// The busy screen: two full-screen pictures cross-fading, twenty small pictures with transforms,
// thirty labels, one long wrapped text and a stretched panel. Each frame moves the virtual clock on by
// 1/60 s and restarts the animation when it ends, so every frame shows movement.

#include "Platform/Animation.h"
#include "Platform/Application.h"
#include "Platform/Driver.h"
#include "Platform/ImageView.h"
#include "Platform/Label.h"
#include "Platform/Renderer.h"
#include "Platform/RunLoop.h"
#include "Platform/SdlWindow.h"
#include "Platform/TextView.h"
#include "Platform/Timer.h"
#include "Platform/WindowRun.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <ctime>
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
    std::cout << std::left << std::setw(56) << name << std::right << std::fixed << std::setprecision(2)
              << " median " << std::setw(6) << f.median << " ms   p99 " << std::setw(6) << f.p99
              << " ms   max " << std::setw(6) << f.worst << " ms\n";
}

// This thread's processor time in milliseconds: unlike the wall clock, not inflated when other
// programs share the processor.
double threadMilliseconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

void runCase(const std::string& name, void (*start)(BusyScreen&), SdlWindow* window) {
    Driver::resetToolkit(2);
    auto& app = Application::shared();
    BusyScreen screen = buildBusyScreen(*app.window());
    Renderer renderer(Application::screenSize, 2);
    renderer.render(*app.window()); // at rest: the pictures' rescaled copies are made here
    std::vector<double> drawing, drawingProcessor, frames, framesProcessor;
    for (int frame = 0; frame < framesPerCase; ++frame) {
        if (!Animation::isRunning())
            start(screen);
        RunLoop::main().advance(frameInterval);
        auto begin = std::chrono::steady_clock::now();
        double processorBegin = threadMilliseconds();
        cairo_surface_t* surface = renderer.render(*app.window());
        auto drawn = std::chrono::steady_clock::now();
        double processorDrawn = threadMilliseconds();
        if (window) {
            window->present(surface);
            window->waitEvent(0);
        }
        auto shown = std::chrono::steady_clock::now();
        drawing.push_back(std::chrono::duration<double, std::milli>(drawn - begin).count());
        frames.push_back(std::chrono::duration<double, std::milli>(shown - begin).count());
        drawingProcessor.push_back(processorDrawn - processorBegin);
        framesProcessor.push_back(threadMilliseconds() - processorBegin);
    }
    report(name + ", drawing, wall", summarise(drawing));
    report(name + ", drawing, processor", summarise(drawingProcessor));
    if (window) {
        report(name + ", drawn and shown, wall", summarise(frames));
        report(name + ", drawn and shown, processor", summarise(framesProcessor));
    }
}

double processorSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

int measureIdle() {
    Driver::resetToolkit(2);
    std::string error;
    auto window = WindowRun::open("bench_frame", WindowSizing{2.0, std::nullopt}, error);
    if (!window) {
        std::cerr << "bench_frame --idle needs a display: " << error << "\n";
        return 1;
    }
    buildBusyScreen(*Application::shared().window());
    int ticks = 0;
    // Like the hotspot pulse: a repeating timer that usually has nothing to change.
    auto pulse = Timer::scheduled(0.85, true, [&] { ++ticks; });
    window->runFor(1); // the first frames and the pictures' rescaled copies
    auto framesBefore = window->framesDrawn();
    double before = processorSeconds();
    window->runFor(idleSeconds);
    double used = processorSeconds() - before;
    pulse->invalidate();
    std::cout << std::fixed << std::setprecision(3) << "idle window over " << idleSeconds << " s: " << used
              << " s of processor time (" << std::setprecision(2) << 100 * used / idleSeconds << " %), "
              << window->framesDrawn() - framesBefore << " frames drawn, " << ticks << " timer ticks\n";
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--idle") == 0)
        return measureIdle();
    std::unique_ptr<SdlWindow> window;
    std::string error;
    if (std::getenv("DISPLAY"))
        window =
            SdlWindow::open("bench_frame", Application::screenSize, WindowSizing{2.0, std::nullopt}, error);
    if (window)
        std::cout << "frames are shown in a window (SDL renderer: " << window->rendererName() << ")\n";
    else
        std::cout
            << "no display: frames are drawn but not shown (run under xvfb-run to include the upload)\n";
    runCase("busy screen, cross-fade", startCrossFade, window.get());
    runCase("busy screen, entering transition", startEnteringTransition, window.get());
    return 0;
}
