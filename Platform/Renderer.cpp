#include "Platform/Renderer.h"

#include "Platform/Animation.h"
#include "Platform/Compositor.h"
#include "Platform/RunLoop.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace ui {

namespace {

Float snapshotScale = 2;

// Below this the view would not change a single 8-bit pixel.
constexpr Float invisibleAlpha = 1.0 / 512;

void applyTransform(cairo_t* cr, const AffineTransform& m) {
    cairo_matrix_t matrix{m.a, m.b, m.c, m.d, m.tx, m.ty};
    cairo_transform(cr, &matrix);
}

bool isVisible(const View& view) {
    return !view.isHidden() && view.presentationAlpha() >= invisibleAlpha;
}

int layerCount(const View& view) {
    int layers = view.layerCount() + (view.backgroundColor().isClear() ? 0 : 1);
    for (auto& subview : view.subviews())
        layers += isVisible(*subview) ? 2 : 0; // a subview may paint several layers itself
    return layers;
}

void fillBackground(cairo_t* cr, const View& view, const Rect& bounds, Float opacity) {
    const Color& c = view.backgroundColor();
    if (c.isClear())
        return;
    cairo_set_source_rgba(cr, c.r, c.g, c.b, c.a * opacity);
    cairo_rectangle(cr, bounds.x(), bounds.y(), bounds.width(), bounds.height());
    cairo_fill(cr);
}

void clipTo(cairo_t* cr, const Rect& rect) {
    cairo_rectangle(cr, rect.x(), rect.y(), rect.width(), rect.height());
    cairo_clip(cr);
}

// The box around everything the view and its visible subviews may paint, in its bounds coordinates.
Rect paintedExtent(const View& view) {
    Rect extent = view.presentationBounds();
    if (view.clipsToBounds())
        return extent;
    Float x0 = extent.minX(), y0 = extent.minY(), x1 = extent.maxX(), y1 = extent.maxY();
    for (auto& subview : view.subviews()) {
        if (!isVisible(*subview))
            continue;
        Rect box = subview->presentationTransformToSuperview().apply(paintedExtent(*subview));
        x0 = std::min(x0, box.minX()), y0 = std::min(y0, box.minY());
        x1 = std::max(x1, box.maxX()), y1 = std::max(y1, box.maxY());
    }
    return {x0, y0, x1 - x0, y1 - y0};
}

void drawLayers(cairo_t* cr, View& view, const Rect& bounds, Float opacity, bool moving) {
    DrawContext context{cr, opacity, moving};
    fillBackground(cr, view, bounds, opacity);
    cairo_save(cr);
    view.draw(context);
    cairo_restore(cr);
    // A callback of a subview's drawing must not pull the list from under us.
    auto subviews = view.subviews();
    for (auto& subview : subviews)
        Renderer::drawView(cr, *subview, moving);
    cairo_save(cr);
    view.drawOverlay(context);
    cairo_restore(cr);
}

// Turns the view about its vertical axis: the old picture until half way, then the live content.
// Returns false when the old picture was drawn and the content must not be.
bool applyFlip(cairo_t* cr, const TransitionAnimation& flip, const Rect& bounds, Float opacity) {
    Float angle = flip.progress(RunLoop::main().now()) * std::numbers::pi;
    Float squash = std::max(std::abs(std::cos(angle)), 0.001);
    cairo_translate(cr, bounds.midX(), bounds.midY());
    cairo_scale(cr, squash, 1);
    cairo_translate(cr, -bounds.midX(), -bounds.midY());
    if (angle >= std::numbers::pi / 2)
        return true;
    flip.before.draw(cr, bounds, opacity, ImageFilter::Fast);
    return false;
}

} // namespace

Renderer::Renderer(Size size, Float scale, std::shared_ptr<cairo_surface_t> target)
    : size_(size), scale_(scale), surface_(std::move(target)) {
    int width = static_cast<int>(std::lround(size.width * scale));
    int height = static_cast<int>(std::lround(size.height * scale));
    if (!surface_)
        surface_.reset(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height), cairo_surface_destroy);
}

cairo_surface_t* Renderer::render(View& root) {
    return render(compose(root, size_, scale_));
}

cairo_surface_t* Renderer::render(const Composition& composition) {
    damage_.next(composition);
    paint(composition, nullptr);
    return surface_.get();
}

Rect Renderer::renderChanges(const Composition& composition) {
    Rect changed = damage_.next(composition);
    if (changed.width() <= 0 || changed.height() <= 0) {
        renderedGeneration_ = View::displayGeneration();
        return {};
    }
    // Whole pixels, with room for the smoothing of edges and of sampled pictures just outside a box.
    constexpr Float smoothing = 2;
    Float width = cairo_image_surface_get_width(surface_.get());
    Float height = cairo_image_surface_get_height(surface_.get());
    Float x0 = std::max(std::floor(changed.minX() * scale_) - smoothing, 0.0);
    Float y0 = std::max(std::floor(changed.minY() * scale_) - smoothing, 0.0);
    Float x1 = std::min(std::ceil(changed.maxX() * scale_) + smoothing, width);
    Float y1 = std::min(std::ceil(changed.maxY() * scale_) + smoothing, height);
    if (x1 <= x0 || y1 <= y0)
        return {};
    Rect pixels{x0, y0, x1 - x0, y1 - y0};
    paint(composition, &pixels);
    return pixels;
}

void Renderer::paint(const Composition& composition, const Rect* pixels) {
    renderedGeneration_ = View::displayGeneration();
    cairo_t* cr = cairo_create(surface_.get());
    if (pixels) {
        cairo_rectangle(cr, pixels->x(), pixels->y(), pixels->width(), pixels->height());
        cairo_clip(cr);
    }
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_paint(cr);
    cairo_scale(cr, scale_, scale_);
    paintComposition(cr, composition, transformed_.get());
    cairo_destroy(cr);
    cairo_surface_flush(surface_.get());
    if (transformed_)
        transformed_->endFrame();
}

void Renderer::setKeepsTransformedLayers(bool keep) {
    transformed_ = keep ? std::make_unique<TransformedLayerCache>() : nullptr;
}

void Renderer::drawView(cairo_t* cr, View& view, bool moving) {
    if (!isVisible(view))
        return;
    Float alpha = std::min(view.presentationAlpha(), 1.0);
    Rect bounds = view.presentationBounds();
    cairo_save(cr);
    applyTransform(cr, view.presentationTransformToSuperview());
    bool drawContent = true;
    if (auto* flip = view.runningTransition())
        drawContent = applyFlip(cr, *flip, bounds, alpha);
    if (view.clipsToBounds())
        clipTo(cr, bounds);
    if (drawContent) {
        bool group = alpha < 1 && layerCount(view) > 1;
        if (group) {
            // The group is as large as the clip: keep it to what the view paints.
            clipTo(cr, paintedExtent(view));
            cairo_push_group(cr);
            drawLayers(cr, view, bounds, 1, moving);
            cairo_pop_group_to_source(cr);
            cairo_paint_with_alpha(cr, alpha);
        } else {
            drawLayers(cr, view, bounds, alpha, moving);
        }
    }
    cairo_restore(cr);
}

void Renderer::drawContent(cairo_t* cr, View& view, bool moving) {
    cairo_save(cr);
    if (view.clipsToBounds())
        clipTo(cr, view.presentationBounds());
    drawLayers(cr, view, view.presentationBounds(), 1, moving);
    cairo_restore(cr);
}

Image Renderer::snapshot(View& view, Float scale) {
    Rect bounds = view.presentationBounds();
    ImageContext context(bounds.size, scale);
    cairo_translate(context.cairo(), -bounds.x(), -bounds.y());
    drawContent(context.cairo(), view, false);
    return context.image();
}

Image Renderer::snapshot(View& view) {
    return snapshot(view, snapshotScale);
}

void Renderer::setSnapshotScale(Float scale) {
    snapshotScale = scale;
}

} // namespace ui
