#pragma once
// Layers painted through a turn, a scale or a place between pixels (Compositor.h), kept as the device
// pixels they painted: a turned picture that stays where it is while something else on the screen moves
// is copied from frame to frame instead of being sampled afresh. A copy is made the second frame running
// that a layer lands on the same place, so a layer that moves every frame costs nothing extra.
//
// A copy painted may differ from the layer painted directly by a rounding step, so only the window keeps
// them; headless frames and screenshots paint every layer directly.

#include "Platform/Compositor.h"

#include <cairo.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <utility>

namespace ui {

class TransformedLayerCache {
public:
    // Paints `item`, whose layer's pixels land on `cr`'s device through `layerToDevice`, with its opacity:
    // from the kept copy when there is one, else with `paintLayer`, which paints the layer at full
    // opacity into the context it is given (user space in screen points, as `cr`'s). Only the part inside
    // `device` (the screen's pixels) is kept.
    void paint(cairo_t* cr, const CompositeItem& item, const cairo_matrix_t& layerToDevice, bool moving,
               const Rect& device, const std::function<void(cairo_t*)>& paintLayer);
    // Ends a frame: drops the copies of layers it did not paint.
    void endFrame();
    std::size_t bytes() const;

private:
    struct Copy {
        std::uint64_t layerId = 0;
        cairo_matrix_t place{};
        bool moving = false;
        std::shared_ptr<cairo_surface_t> pixels;
        int x = 0, y = 0; // where the pixels go on the device
        bool used = false;
    };
    std::map<std::pair<const View*, CompositeItem::Source>, Copy> copies_;
};

} // namespace ui
