#include "Platform/TransformedLayerCache.h"

#include <algorithm>
#include <cmath>

namespace ui {

namespace {

bool samePlace(const cairo_matrix_t& a, const cairo_matrix_t& b) {
    return a.xx == b.xx && a.yx == b.yx && a.xy == b.xy && a.yy == b.yy && a.x0 == b.x0 && a.y0 == b.y0;
}

// The device pixels the layer may touch, with one more around for the filters' reach, inside `device`.
Rect deviceBox(const CompositeItem& item, const cairo_matrix_t& m, const Rect& device) {
    double width = cairo_image_surface_get_width(item.layer->surface.get());
    double height = cairo_image_surface_get_height(item.layer->surface.get());
    double x0 = device.maxX(), y0 = device.maxY(), x1 = device.minX(), y1 = device.minY();
    for (auto [x, y] : {std::pair{0.0, 0.0}, {width, 0.0}, {0.0, height}, {width, height}}) {
        cairo_matrix_transform_point(&m, &x, &y);
        x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x), y1 = std::max(y1, y);
    }
    x0 = std::max(std::floor(x0) - 1, device.minX()), y0 = std::max(std::floor(y0) - 1, device.minY());
    x1 = std::min(std::ceil(x1) + 1, device.maxX()), y1 = std::min(std::ceil(y1) + 1, device.maxY());
    return {x0, y0, std::max(x1 - x0, 0.0), std::max(y1 - y0, 0.0)};
}

} // namespace

void TransformedLayerCache::paint(cairo_t* cr, const CompositeItem& item, const cairo_matrix_t& layerToDevice,
                                  bool moving, const Rect& device,
                                  const std::function<void(cairo_t*)>& paintLayer) {
    Copy& copy = copies_[{item.view.get(), item.source}];
    bool same = !copy.used && (copy.layerId == item.layer->id && copy.moving == moving &&
                               samePlace(copy.place, layerToDevice));
    copy.used = true;
    if (!same) {
        // A new place: painted directly this time, kept if it stays.
        copy.layerId = item.layer->id;
        copy.place = layerToDevice;
        copy.moving = moving;
        copy.pixels.reset();
        cairo_save(cr);
        paintLayer(cr);
        cairo_restore(cr);
        return;
    }
    if (!copy.pixels) {
        Rect box = deviceBox(item, layerToDevice, device);
        if (box.width() <= 0 || box.height() <= 0)
            return;
        copy.x = static_cast<int>(box.x()), copy.y = static_cast<int>(box.y());
        copy.pixels.reset(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(box.width()),
                                                     static_cast<int>(box.height())),
                          cairo_surface_destroy);
        cairo_t* into = cairo_create(copy.pixels.get());
        cairo_matrix_t toDevice;
        cairo_get_matrix(cr, &toDevice);
        toDevice.x0 -= copy.x;
        toDevice.y0 -= copy.y;
        cairo_set_matrix(into, &toDevice);
        paintLayer(into);
        cairo_destroy(into);
    }
    cairo_save(cr);
    cairo_identity_matrix(cr);
    cairo_set_source_surface(cr, copy.pixels.get(), copy.x, copy.y);
    cairo_paint_with_alpha(cr, item.opacity);
    cairo_restore(cr);
}

void TransformedLayerCache::endFrame() {
    for (auto it = copies_.begin(); it != copies_.end();) {
        if (!it->second.used) {
            it = copies_.erase(it);
        } else {
            it->second.used = false;
            ++it;
        }
    }
}

std::size_t TransformedLayerCache::bytes() const {
    std::size_t total = 0;
    for (auto& [key, copy] : copies_) {
        if (copy.pixels)
            total += static_cast<std::size_t>(cairo_image_surface_get_stride(copy.pixels.get())) *
                     static_cast<std::size_t>(cairo_image_surface_get_height(copy.pixels.get()));
    }
    return total;
}

} // namespace ui
