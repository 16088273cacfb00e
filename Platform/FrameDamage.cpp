#include "Platform/FrameDamage.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <optional>
#include <tuple>

namespace ui {

namespace {

using Kind = CompositeItem::Kind;
using Source = CompositeItem::Source;

bool isEmpty(const Rect& r) {
    return r.width() <= 0 || r.height() <= 0;
}

Rect intersection(const Rect& a, const Rect& b) {
    Float x0 = std::max(a.minX(), b.minX()), y0 = std::max(a.minY(), b.minY());
    Float x1 = std::min(a.maxX(), b.maxX()), y1 = std::min(a.maxY(), b.maxY());
    return {x0, y0, std::max(x1 - x0, 0.0), std::max(y1 - y0, 0.0)};
}

Rect unite(const Rect& a, const Rect& b) {
    if (isEmpty(a))
        return b;
    if (isEmpty(b))
        return a;
    Float x0 = std::min(a.minX(), b.minX()), y0 = std::min(a.minY(), b.minY());
    Float x1 = std::max(a.maxX(), b.maxX()), y1 = std::max(a.maxY(), b.maxY());
    return {x0, y0, x1 - x0, y1 - y0};
}

bool samePixels(const LayerPtr& a, const LayerPtr& b) {
    if (!a || !b)
        return a == b;
    cairo_surface_t* first = a->surface.get();
    cairo_surface_t* second = b->surface.get();
    int width = cairo_image_surface_get_width(first), height = cairo_image_surface_get_height(first);
    if (a->extent != b->extent || width != cairo_image_surface_get_width(second) ||
        height != cairo_image_surface_get_height(second))
        return false;
    int strideA = cairo_image_surface_get_stride(first), strideB = cairo_image_surface_get_stride(second);
    const unsigned char* rowA = cairo_image_surface_get_data(first);
    const unsigned char* rowB = cairo_image_surface_get_data(second);
    for (int y = 0; y < height; ++y, rowA += strideA, rowB += strideB) {
        if (std::memcmp(rowA, rowB, static_cast<std::size_t>(width) * 4) != 0)
            return false;
    }
    return true;
}

} // namespace

bool FrameDamage::Shown::looksTheSame(const Shown& other) const {
    if (toRoot != other.toRoot || rect != other.rect || color != other.color || opacity != other.opacity ||
        moving != other.moving || enclosing != other.enclosing)
        return false;
    if (source == Source::Overlay)
        return samePixels(overlay, other.overlay);
    return layerId == other.layerId;
}

std::vector<FrameDamage::Shown> FrameDamage::shownItems(const Composition& frame) {
    std::vector<Shown> items;
    std::vector<Enclosing> enclosing;
    // What clips and groups leave of the screen for the items inside them.
    std::vector<Rect> limits{Rect({}, frame.screen)};
    for (const CompositeItem& item : frame.items) {
        switch (item.kind) {
        case Kind::PushClip:
        case Kind::PushGroup: {
            enclosing.push_back({item.kind, item.toRoot, item.rect, item.opacity});
            // A group's box is in screen points already.
            Rect box = item.kind == Kind::PushClip ? item.toRoot.apply(item.rect) : item.rect;
            limits.push_back(intersection(box, limits.back()));
            break;
        }
        case Kind::PopClip:
        case Kind::PopGroup:
            if (!enclosing.empty()) {
                enclosing.pop_back();
                limits.pop_back();
            }
            break;
        case Kind::Fill:
        case Kind::Layer: {
            Shown shown;
            shown.view = item.view.get();
            shown.kind = item.kind;
            shown.source = item.source;
            shown.toRoot = item.toRoot;
            shown.rect = item.rect;
            shown.color = item.color;
            shown.opacity = item.opacity;
            if (item.layer) {
                shown.layerId = item.layer->id;
                if (item.source == Source::Overlay)
                    shown.overlay = item.layer;
            }
            shown.moving =
                item.kind == Kind::Layer && frame.moving && isPaintedThroughTransform(item, frame.scale);
            shown.enclosing = enclosing;
            shown.box = intersection(item.toRoot.apply(item.rect), limits.back());
            items.push_back(std::move(shown));
            break;
        }
        }
    }
    return items;
}

Rect FrameDamage::next(const Composition& frame) {
    std::vector<Shown> now = shownItems(frame);
    Rect screen({}, frame.screen);
    bool whole = !known_ || frame.screen != screen_ || frame.scale != scale_;
    Rect changed;
    bool distinct = true;
    if (!whole)
        whole = !compare(now, changed, distinct);
    shown_ = std::move(now);
    screen_ = frame.screen;
    scale_ = frame.scale;
    // An item shown twice cannot be told apart next time either.
    known_ = distinct;
    return whole ? screen : changed;
}

bool FrameDamage::compare(const std::vector<Shown>& now, Rect& changed, bool& distinct) const {
    using Key = std::tuple<const View*, Kind, Source>;
    std::map<Key, std::size_t> index;
    for (std::size_t i = 0; i < now.size(); ++i) {
        if (!index.emplace(Key{now[i].view, now[i].kind, now[i].source}, i).second) {
            distinct = false;
            return false;
        }
    }
    std::vector<bool> matched(now.size(), false);
    std::optional<std::size_t> last;
    for (const Shown& before : shown_) {
        auto found = index.find(Key{before.view, before.kind, before.source});
        if (found == index.end()) {
            changed = unite(changed, before.box);
            continue;
        }
        std::size_t i = found->second;
        // Items shown in both frames in another order cover each other differently.
        if (last && i < *last)
            return false;
        last = i;
        matched[i] = true;
        if (!before.looksTheSame(now[i]))
            changed = unite(unite(changed, before.box), now[i].box);
    }
    for (std::size_t i = 0; i < now.size(); ++i) {
        if (!matched[i])
            changed = unite(changed, now[i].box);
    }
    return true;
}

} // namespace ui
