#include "Platform/LayerCache.h"

#include "Platform/View.h"

#include <algorithm>
#include <cmath>

namespace ui {

namespace {

std::uint64_t nextLayerId = 1;

// A view that clips keeps half its height of content above and below the part on screen, so that
// scrolling a little does not draw it again.
Rect coveredFor(const Rect& visible) {
    return {visible.x(), visible.y() - visible.height() / 2, visible.width(), visible.height() * 2};
}

bool covers(const Rect& outer, const Rect& inner) {
    constexpr Float slack = 1e-6;
    return inner.minX() >= outer.minX() - slack && inner.minY() >= outer.minY() - slack &&
           inner.maxX() <= outer.maxX() + slack && inner.maxY() <= outer.maxY() + slack;
}

std::shared_ptr<cairo_surface_t> owned(cairo_surface_t* surface) {
    return {surface, cairo_surface_destroy};
}

} // namespace

std::size_t Layer::bytes() const {
    if (!surface)
        return 0;
    return static_cast<std::size_t>(cairo_image_surface_get_stride(surface.get())) *
           static_cast<std::size_t>(cairo_image_surface_get_height(surface.get()));
}

LayerCache& LayerCache::shared() {
    static LayerCache cache;
    return cache;
}

LayerPtr LayerCache::draw(Float scale, const Rect* limit, const std::function<void(cairo_t*)>& paint) {
    // Recorded first, to learn how much the content covers before a single pixel is allocated.
    auto recording = owned(cairo_recording_surface_create(CAIRO_CONTENT_COLOR_ALPHA, nullptr));
    cairo_t* cr = cairo_create(recording.get());
    cairo_scale(cr, scale, scale);
    if (limit) {
        cairo_rectangle(cr, limit->x(), limit->y(), limit->width(), limit->height());
        cairo_clip(cr);
    }
    paint(cr);
    cairo_destroy(cr);
    double x = 0, y = 0, width = 0, height = 0;
    cairo_recording_surface_ink_extents(recording.get(), &x, &y, &width, &height);
    if (width <= 0 || height <= 0)
        return nullptr;
    auto x0 = static_cast<int>(std::floor(x)), y0 = static_cast<int>(std::floor(y));
    auto x1 = static_cast<int>(std::ceil(x + width)), y1 = static_cast<int>(std::ceil(y + height));
    if (limit) {
        x0 = std::max(x0, static_cast<int>(std::floor(limit->minX() * scale)));
        y0 = std::max(y0, static_cast<int>(std::floor(limit->minY() * scale)));
        x1 = std::min(x1, static_cast<int>(std::ceil(limit->maxX() * scale)));
        y1 = std::min(y1, static_cast<int>(std::ceil(limit->maxY() * scale)));
    }
    if (x1 <= x0 || y1 <= y0)
        return nullptr;
    auto layer = std::make_shared<Layer>();
    layer->surface = owned(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, x1 - x0, y1 - y0));
    cr = cairo_create(layer->surface.get());
    cairo_set_source_surface(cr, recording.get(), -x0, -y0);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_flush(layer->surface.get());
    layer->extent = {x0 / scale, y0 / scale, (x1 - x0) / scale, (y1 - y0) / scale};
    layer->scale = scale;
    layer->id = nextLayerId++;
    return layer;
}

LayerPtr LayerCache::content(View& view, Float scale, const Rect& visible) {
    Entry& entry = entries_[&view];
    entry.lastFrame = frame_;
    bool clips = view.clipsToBounds();
    bool current = entry.drawn && entry.version == view.contentVersion() && entry.scale == scale &&
                   (!clips || covers(entry.covered, visible));
    if (current)
        return entry.layer;
    entry.version = view.contentVersion();
    entry.scale = scale;
    entry.covered = coveredFor(visible);
    LayerPtr layer = draw(scale, clips ? &entry.covered : nullptr, [&view](cairo_t* cr) {
        DrawContext context{cr, 1, false};
        view.draw(context);
    });
    store(entry, layer);
    return layer;
}

LayerPtr LayerCache::overlay(View& view, Float scale) {
    return draw(scale, nullptr, [&view](cairo_t* cr) {
        DrawContext context{cr, 1, false};
        view.drawOverlay(context);
    });
}

LayerPtr LayerCache::picture(const View& view, const Image& image) {
    Entry& entry = entries_[&view];
    entry.lastFrame = entry.pictureFrame = frame_;
    if (entry.pictureSource != image.surface() || !entry.picture) {
        auto layer = std::make_shared<Layer>();
        layer->surface = {cairo_surface_reference(image.surface()), cairo_surface_destroy};
        layer->extent = {{}, image.size()};
        layer->scale = image.scale();
        layer->id = nextLayerId++;
        entry.picture = layer;
        entry.pictureSource = image.surface();
    }
    return entry.picture;
}

void LayerCache::keep(const View& view) {
    if (auto it = entries_.find(&view); it != entries_.end())
        it->second.lastFrame = frame_;
}

void LayerCache::forget(const View* view) {
    auto it = entries_.find(view);
    if (it == entries_.end())
        return;
    bytes_ -= entryBytes(it->second);
    entries_.erase(it);
}

void LayerCache::endFrame() {
    for (auto it = entries_.begin(); it != entries_.end();) {
        if (it->second.lastFrame < frame_) {
            bytes_ -= entryBytes(it->second);
            it = entries_.erase(it);
        } else {
            // An old face is kept only while its flip shows it.
            if (it->second.pictureFrame < frame_) {
                it->second.picture.reset();
                it->second.pictureSource = nullptr;
            }
            ++it;
        }
    }
    ++frame_;
}

void LayerCache::clear() {
    entries_.clear();
    bytes_ = 0;
}

std::size_t LayerCache::entryBytes(const Entry& entry) {
    return entry.layer ? entry.layer->bytes() : 0;
}

void LayerCache::store(Entry& entry, LayerPtr layer) {
    bytes_ -= entryBytes(entry);
    entry.layer.reset();
    entry.drawn = false;
    std::size_t needed = layer ? layer->bytes() : 0;
    makeRoom(needed);
    if (bytes_ + needed > capacity_)
        return; // serves this frame only
    entry.layer = std::move(layer);
    entry.drawn = true;
    bytes_ += needed;
    peakBytes_ = std::max(peakBytes_, bytes_);
}

void LayerCache::makeRoom(std::size_t bytes) {
    while (bytes_ + bytes > capacity_) {
        auto oldest = entries_.end();
        for (auto it = entries_.begin(); it != entries_.end(); ++it) {
            if (it->second.layer && it->second.lastFrame < frame_ &&
                (oldest == entries_.end() || it->second.lastFrame < oldest->second.lastFrame))
                oldest = it;
        }
        if (oldest == entries_.end())
            return;
        bytes_ -= entryBytes(oldest->second);
        oldest->second.layer.reset();
        oldest->second.drawn = false;
    }
}

} // namespace ui
