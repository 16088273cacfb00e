#include "Platform/Compositor.h"

#include "Platform/Animation.h"
#include "Platform/RunLoop.h"
#include "Platform/TransformedLayerCache.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace ui {

namespace {

// Below this the view would not change a single 8-bit pixel.
constexpr Float invisibleAlpha = 1.0 / 512;

using Kind = CompositeItem::Kind;
using Source = CompositeItem::Source;

bool isDrawn(const CompositeItem& item) {
    return item.kind == Kind::Fill || item.kind == Kind::Layer;
}

Rect intersection(const Rect& a, const Rect& b) {
    Float x0 = std::max(a.minX(), b.minX()), y0 = std::max(a.minY(), b.minY());
    Float x1 = std::min(a.maxX(), b.maxX()), y1 = std::min(a.maxY(), b.maxY());
    return {x0, y0, std::max(x1 - x0, 0.0), std::max(y1 - y0, 0.0)};
}

bool isEmpty(const Rect& r) {
    return r.width() <= 0 || r.height() <= 0;
}

// Keeps the layers of a subtree faded to nothing, for when it comes back.
void keepSubtree(const View& view) {
    if (view.isHidden())
        return;
    LayerCache::shared().keep(view);
    for (auto& subview : view.subviews())
        keepSubtree(*subview);
}

class Collector {
public:
    Collector(Composition& out) : out_(out), screen_({}, out.screen) {}

    void collect(View& view, const AffineTransform& parentToRoot) {
        if (view.isHidden())
            return;
        Float alpha = std::min(view.presentationAlpha(), 1.0);
        if (alpha < invisibleAlpha) {
            keepSubtree(view);
            return;
        }
        Rect bounds = view.presentationBounds();
        AffineTransform toRoot = view.presentationTransformToSuperview().concat(parentToRoot);
        std::size_t first = out_.items.size();
        if (auto* flip = view.runningTransition()) {
            Float angle = flip->progress(RunLoop::main().now()) * std::numbers::pi;
            Float squash = std::max(std::abs(std::cos(angle)), 0.001);
            toRoot = AffineTransform::translation(-bounds.midX(), -bounds.midY())
                         .concat(AffineTransform::scale(squash, 1))
                         .concat(AffineTransform::translation(bounds.midX(), bounds.midY()))
                         .concat(toRoot);
            if (angle < std::numbers::pi / 2) {
                // The old face until half way, then the live content.
                addLayer(view, LayerCache::shared().picture(view, flip->before), Source::Picture, toRoot,
                         bounds);
                applyAlpha(first, alpha);
                return;
            }
        }
        Rect onScreen = intersection(toRoot.apply(bounds), screen_);
        if (view.clipsToBounds() && isEmpty(onScreen)) {
            LayerCache::shared().keep(view);
            return;
        }
        if (view.clipsToBounds())
            push(Kind::PushClip, toRoot, bounds);
        const Color& background = view.backgroundColor();
        if (!background.isClear()) {
            CompositeItem fill;
            fill.kind = Kind::Fill;
            fill.toRoot = toRoot;
            fill.rect = bounds;
            fill.color = background;
            fill.view = view.weak_from_this().lock();
            out_.items.push_back(std::move(fill));
        }
        if (!isEmpty(onScreen)) {
            auto layer = LayerCache::shared().content(view, out_.scale, bounds);
            if (layer)
                addLayer(view, layer, Source::Content, toRoot, layer->extent);
        }
        // A callback of a subview's drawing must not pull the list from under us.
        auto subviews = view.subviews();
        for (auto& subview : subviews)
            collect(*subview, toRoot);
        // Only views that say they paint (scroll views) are asked for an overlay.
        if (view.layerCount() > 0) {
            if (auto overlay = LayerCache::overlay(view, out_.scale))
                addLayer(view, overlay, Source::Overlay, toRoot, overlay->extent);
        }
        if (view.clipsToBounds())
            push(Kind::PopClip, toRoot, bounds);
        applyAlpha(first, alpha);
    }

private:
    void push(Kind kind, const AffineTransform& toRoot, const Rect& rect) {
        CompositeItem item;
        item.kind = kind;
        item.toRoot = toRoot;
        item.rect = rect;
        out_.items.push_back(std::move(item));
    }

    void addLayer(View& view, LayerPtr layer, Source source, const AffineTransform& toRoot,
                  const Rect& rect) {
        if (!layer)
            return;
        CompositeItem item;
        item.kind = Kind::Layer;
        item.toRoot = toRoot;
        item.rect = rect;
        item.layer = std::move(layer);
        item.source = source;
        item.view = view.weak_from_this().lock();
        out_.items.push_back(std::move(item));
    }

    // A view's alpha goes into its one item, or the items from `first` on become a group.
    void applyAlpha(std::size_t first, Float alpha) {
        if (alpha >= 1)
            return;
        auto begin = out_.items.begin() + static_cast<std::ptrdiff_t>(first);
        auto drawn = std::count_if(begin, out_.items.end(), isDrawn);
        if (drawn == 0)
            return;
        if (drawn == 1) {
            auto item = std::find_if(begin, out_.items.end(), isDrawn);
            item->opacity *= alpha;
            item->color.a *= alpha;
            return;
        }
        Rect box = groupBox(first);
        CompositeItem open;
        open.kind = Kind::PushGroup;
        open.rect = box;
        open.opacity = alpha;
        CompositeItem close = open;
        close.kind = Kind::PopGroup;
        out_.items.insert(out_.items.begin() + static_cast<std::ptrdiff_t>(first), std::move(open));
        out_.items.push_back(std::move(close));
    }

    // The box around what the items from `first` on paint, on the screen.
    Rect groupBox(std::size_t first) const {
        Float x0 = out_.screen.width, y0 = out_.screen.height, x1 = 0, y1 = 0;
        for (std::size_t i = first; i < out_.items.size(); ++i) {
            const CompositeItem& item = out_.items[i];
            if (!isDrawn(item))
                continue;
            Rect box = item.toRoot.apply(item.rect);
            x0 = std::min(x0, box.minX()), y0 = std::min(y0, box.minY());
            x1 = std::max(x1, box.maxX()), y1 = std::max(y1, box.maxY());
        }
        return intersection({x0, y0, x1 - x0, y1 - y0}, screen_);
    }

    Composition& out_;
    Rect screen_;
};

void applyTransform(cairo_t* cr, const AffineTransform& m) {
    cairo_matrix_t matrix{m.a, m.b, m.c, m.d, m.tx, m.ty};
    cairo_transform(cr, &matrix);
}

// A layer's pixels to the device's pixels, given screen points to the device's pixels.
cairo_matrix_t layerToDevice(const cairo_matrix_t& device, const CompositeItem& item) {
    Size pixels{static_cast<Float>(cairo_image_surface_get_width(item.layer->surface.get())),
                static_cast<Float>(cairo_image_surface_get_height(item.layer->surface.get()))};
    cairo_matrix_t m;
    cairo_matrix_init_scale(&m, item.rect.width() / pixels.width, item.rect.height() / pixels.height);
    cairo_matrix_t place;
    cairo_matrix_init_translate(&place, item.rect.x(), item.rect.y());
    cairo_matrix_multiply(&m, &m, &place);
    const AffineTransform& t = item.toRoot;
    cairo_matrix_t toRoot{t.a, t.b, t.c, t.d, t.tx, t.ty};
    cairo_matrix_multiply(&m, &m, &toRoot);
    cairo_matrix_multiply(&m, &m, &device);
    return m;
}

cairo_matrix_t layerToDevice(cairo_t* cr, const CompositeItem& item) {
    cairo_matrix_t device;
    cairo_get_matrix(cr, &device);
    return layerToDevice(device, item);
}

bool isWholePixelShift(const cairo_matrix_t& m) {
    constexpr Float epsilon = 1e-6;
    auto whole = [](Float v) { return std::abs(v - std::round(v)) < epsilon; };
    return std::abs(m.xx - 1) < epsilon && std::abs(m.yy - 1) < epsilon && std::abs(m.xy) < epsilon &&
           std::abs(m.yx) < epsilon && whole(m.x0) && whole(m.y0);
}

// Paints a layer that is turned, scaled or between pixels through its transform, with `opacity`.
void paintThroughTransform(cairo_t* cr, const CompositeItem& item, Float opacity, bool moving) {
    if (item.source == Source::Picture || !item.view) {
        cairo_matrix_t m = layerToDevice(cr, item);
        cairo_set_matrix(cr, &m);
        cairo_set_source_surface(cr, item.layer->surface.get(), 0, 0);
        cairo_pattern_set_filter(cairo_get_source(cr), moving ? CAIRO_FILTER_FAST : CAIRO_FILTER_GOOD);
        cairo_paint_with_alpha(cr, opacity);
        return;
    }
    applyTransform(cr, item.toRoot);
    DrawContext context{cr, opacity, moving};
    if (item.source == Source::Overlay)
        item.view->drawOverlay(context);
    else
        item.view->draw(context);
}

void paintLayer(cairo_t* cr, const CompositeItem& item, const Composition& composition,
                TransformedLayerCache* transformed) {
    cairo_matrix_t m = layerToDevice(cr, item);
    if (isWholePixelShift(m)) {
        cairo_save(cr);
        cairo_identity_matrix(cr);
        cairo_set_source_surface(cr, item.layer->surface.get(), std::round(m.x0), std::round(m.y0));
        cairo_paint_with_alpha(cr, item.opacity);
        cairo_restore(cr);
        return;
    }
    bool moving = composition.moving;
    if (transformed) {
        Rect device{0, 0, composition.screen.width * composition.scale,
                    composition.screen.height * composition.scale};
        transformed->paint(cr, item, m, moving, device,
                           [&](cairo_t* into) { paintThroughTransform(into, item, 1, moving); });
        return;
    }
    cairo_save(cr);
    paintThroughTransform(cr, item, item.opacity, moving);
    cairo_restore(cr);
}

void fill(cairo_t* cr, const CompositeItem& item) {
    cairo_save(cr);
    applyTransform(cr, item.toRoot);
    cairo_set_source_rgba(cr, item.color.r, item.color.g, item.color.b, item.color.a);
    cairo_rectangle(cr, item.rect.x(), item.rect.y(), item.rect.width(), item.rect.height());
    cairo_fill(cr);
    cairo_restore(cr);
}

void clipTo(cairo_t* cr, const AffineTransform& toRoot, const Rect& rect) {
    cairo_matrix_t before;
    cairo_get_matrix(cr, &before);
    applyTransform(cr, toRoot);
    cairo_rectangle(cr, rect.x(), rect.y(), rect.width(), rect.height());
    cairo_clip(cr);
    cairo_set_matrix(cr, &before);
}

} // namespace

bool isPaintedThroughTransform(const CompositeItem& item, Float scale) {
    if (item.kind != Kind::Layer || !item.layer)
        return false;
    cairo_matrix_t device;
    cairo_matrix_init_scale(&device, scale, scale);
    return !isWholePixelShift(layerToDevice(device, item));
}

std::size_t Composition::drawnItems() const {
    return static_cast<std::size_t>(std::count_if(items.begin(), items.end(), isDrawn));
}

Composition compose(View& root, Size screen, Float scale) {
    Composition composition;
    composition.screen = screen;
    composition.scale = scale;
    composition.moving = Animation::isRunning();
    Collector(composition).collect(root, AffineTransform::identity());
    LayerCache::shared().endFrame();
    return composition;
}

void paintComposition(cairo_t* cr, const Composition& composition, TransformedLayerCache* transformed) {
    for (const CompositeItem& item : composition.items) {
        switch (item.kind) {
        case Kind::Fill:
            fill(cr, item);
            break;
        case Kind::Layer:
            paintLayer(cr, item, composition, transformed);
            break;
        case Kind::PushClip:
            cairo_save(cr);
            clipTo(cr, item.toRoot, item.rect);
            break;
        case Kind::PopClip:
            cairo_restore(cr);
            break;
        case Kind::PushGroup:
            cairo_save(cr);
            // The group is as large as the clip: keep it to what the view paints.
            clipTo(cr, AffineTransform::identity(), item.rect);
            cairo_push_group(cr);
            break;
        case Kind::PopGroup:
            cairo_pop_group_to_source(cr);
            cairo_paint_with_alpha(cr, item.opacity);
            cairo_restore(cr);
            break;
        }
    }
}

} // namespace ui
