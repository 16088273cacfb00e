#include "Platform/Driver.h"

#include "Platform/Animation.h"
#include "Platform/Letterbox.h"
#include "Platform/Random.h"
#include "Platform/Renderer.h"
#include "Platform/RunLoop.h"

#include <cmath>
#include <memory>
#include <sstream>

namespace ui {

namespace {

constexpr Float dragStepsPerSecond = 60;

// Keeps dumps readable: 0.30000000000000004 is 0.3 to anyone reading them.
Float tidy(Float value) {
    Float rounded = std::round(value * 1e6) / 1e6;
    return rounded == 0 ? 0 : rounded;
}

Json rectJson(const Rect& r) {
    return Json::array({tidy(r.x()), tidy(r.y()), tidy(r.width()), tidy(r.height())});
}

Json transformJson(const AffineTransform& m) {
    return Json::array({tidy(m.a), tidy(m.b), tidy(m.c), tidy(m.d), tidy(m.tx), tidy(m.ty)});
}

bool isShownAndTouchable(const View& view) {
    return !view.isHidden() && view.touchAlpha() > 0.01 && view.isUserInteractionEnabled();
}

void collectControls(View& view, const std::string& text, Control*& frontMost) {
    if (!isShownAndTouchable(view))
        return;
    if (auto* control = dynamic_cast<Control*>(&view); control && control->isEnabled()) {
        ViewDescription description;
        control->describe(description);
        if (description.title == text || (!description.text.empty() && description.text == text))
            frontMost = control;
    }
    auto subviews = view.subviews();
    for (auto& subview : subviews)
        collectControls(*subview, text, frontMost);
}

std::string nameOf(const View& view) {
    return view.identifier().empty() ? view.className() : view.className() + " \"" + view.identifier() + "\"";
}

std::string pointText(Point p) {
    std::ostringstream out;
    out << "(" << tidy(p.x) << ", " << tidy(p.y) << ")";
    return out.str();
}

} // namespace

Driver::Driver() = default;
Driver::~Driver() = default;

void Driver::resetToolkit(Float scale) {
    Animation::reset();
    RunLoop::main().reset(RunLoop::Clock::Virtual);
    restartRandomNumbers();
    if (auto* responder = Responder::firstResponder())
        responder->resignFirstResponder();
    auto& app = Application::shared();
    app.reset();
    app.setHeadless(true);
    app.setScale(scale);
    Renderer::setSnapshotScale(scale);
}

Result Driver::advance(Float seconds) {
    if (!(seconds >= 0) || !std::isfinite(seconds))
        return Result::failure("cannot wait a negative or unknown time");
    if (advancer_)
        advancer_(seconds);
    else
        RunLoop::main().advance(seconds);
    return Result::success();
}

void Driver::tap(Point point) {
    auto& app = Application::shared();
    app.beginTouches({{0, point}});
    app.endTouches({{0, point}});
}

void Driver::drag(Point from, Point to, Float seconds) {
    auto& app = Application::shared();
    app.beginTouches({{0, from}});
    int steps = std::max(1, static_cast<int>(std::ceil(seconds * dragStepsPerSecond)));
    for (int i = 1; i <= steps; ++i) {
        advance(seconds / steps);
        Float t = static_cast<Float>(i) / steps;
        app.moveTouches({{0, {from.x + (to.x - from.x) * t, from.y + (to.y - from.y) * t}}});
    }
    app.endTouches({{0, to}});
}

Control* Driver::findControl(const std::string& text) const {
    Control* frontMost = nullptr;
    collectControls(*Application::shared().window(), text, frontMost);
    return frontMost;
}

Result Driver::press(const std::string& text) {
    auto* control = findControl(text);
    if (!control)
        return Result::failure("no visible, touchable control titled \"" + text + "\"");
    const Rect& b = control->bounds();
    Point center = control->convertTo(Point{b.midX(), b.midY()}, nullptr);
    auto& window = *Application::shared().window();
    View* hit = window.hitTest(center);
    if (!hit || !hit->isDescendantOf(control))
        return Result::failure("the control titled \"" + text + "\" is not reachable at " +
                               pointText(center) + ": a tap there goes to " +
                               (hit ? nameOf(*hit) : std::string("nothing")));
    tap(center);
    return Result::success();
}

Result Driver::type(const std::string& text) {
    if (!Application::shared().sendText(text))
        return Result::failure("no text field has the focus");
    return Result::success();
}

Result Driver::key(const std::string& name) {
    std::string key = Application::keyName(name);
    if (key.empty())
        return Result::failure("unknown key \"" + name + "\" (a name such as Left, Escape, F1, q or ctrl+q)");
    Application::shared().pressKey(key);
    return Result::success();
}

void Driver::wheel(Point point, Float dy) {
    Application::shared().scrollWheel(point, dy);
}

// Smaller than a pixel per point the screen is unreadable; larger than a big display is a typo.
constexpr Float smallestWindowSide = 80, largestWindowSide = 16384;

Result Driver::resize(Size pixels) {
    auto fits = [](Float side) { return side >= smallestWindowSide && side <= largestWindowSide; };
    if (!fits(pixels.width) || !fits(pixels.height))
        return Result::failure("a window is 80 to 16384 pixels wide and high");
    Application::shared().requestWindowPixelSize({std::round(pixels.width), std::round(pixels.height)});
    return Result::success();
}

Result Driver::alert(const std::string& title) {
    auto* alert = Application::shared().modalAlert();
    if (!alert)
        return Result::failure("no alert is open");
    if (!alert->pressButton(title))
        return Result::failure("the open alert has no button \"" + title + "\"");
    return Result::success();
}

cairo_surface_t* Driver::render() const {
    auto& app = Application::shared();
    if (!renderer_ || renderer_->scale() != app.scale())
        renderer_ = std::make_unique<Renderer>(Application::screenSize, app.scale());
    return renderer_->render(*app.window());
}

cairo_surface_t* Driver::renderWindow() const {
    auto& app = Application::shared();
    cairo_surface_t* screen = render();
    Letterbox box(Application::screenSize, app.windowPixelSize());
    if (box.screenPixels() == box.windowPixels())
        return screen;
    int width = static_cast<int>(box.windowPixels().width),
        height = static_cast<int>(box.windowPixels().height);
    window_.reset(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height), cairo_surface_destroy);
    cairo_t* cr = cairo_create(window_.get());
    constexpr Float grey = Letterbox::marginGrey / 255.0;
    cairo_set_source_rgb(cr, grey, grey, grey);
    cairo_paint(cr);
    cairo_set_source_surface(cr, screen, box.origin().x, box.origin().y);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_flush(window_.get());
    return window_.get();
}

Result Driver::screenshot(const std::string& path) const {
    if (!writePng(renderWindow(), path))
        return Result::failure("could not write the picture \"" + path + "\"");
    return Result::success();
}

Json Driver::describe(const View& view) {
    ViewDescription description;
    view.describe(description);
    Json subviews = Json::array();
    for (auto& subview : view.subviews())
        subviews.push_back(describe(*subview));
    return Json{{"class", view.className()},
                {"id", view.identifier()},
                {"frame", rectJson(view.frame())},
                {"screenFrame", rectJson(view.convertTo(view.bounds(), nullptr))},
                {"alpha", tidy(view.alpha())},
                {"hidden", view.isHidden()},
                {"interaction", view.isUserInteractionEnabled()},
                {"transform", transformJson(view.transform())},
                {"title", description.title},
                {"text", description.text},
                {"image", description.image},
                {"subviews", std::move(subviews)}};
}

Json Driver::dumpTree() const {
    return describe(*Application::shared().window());
}

View* Driver::find(const std::string& identifier) const {
    return Application::shared().window()->findView(identifier);
}

} // namespace ui
