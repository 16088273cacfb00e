#pragma once
// Which part of the screen a frame changes, found by comparing what it composites with what the frame
// before it composited (Compositor.h), item by item: a background, a layer or an overlay that appears,
// goes, or shows another picture, colour, opacity, place, clip or group opacity changes its box on the
// screen in both frames; everything else shows the same pixels as before. So a blinking label costs the
// label's box, and a still screen costs nothing.
//
// Items are known by their view and what they show of it. When the items both frames show come in
// another order (a view brought to the front), the whole screen has changed.

#include "Platform/Compositor.h"

#include <vector>

namespace ui {

class FrameDamage {
public:
    // The box of screen points whose pixels may differ between the frame given last and `frame` (the
    // whole screen for the first frame, or when the screen's size or scale changed); empty when none
    // may. Remembers `frame` for the next call.
    Rect next(const Composition& frame);
    // Forgets the last frame: the next one changes the whole screen.
    void forget() { known_ = false; }

private:
    // A clip or group an item is drawn inside.
    struct Enclosing {
        CompositeItem::Kind kind;
        AffineTransform toRoot;
        Rect rect;
        Float opacity;
        friend bool operator==(const Enclosing&, const Enclosing&) = default;
    };
    struct Shown {
        const View* view = nullptr;
        CompositeItem::Kind kind = CompositeItem::Kind::Fill;
        CompositeItem::Source source = CompositeItem::Source::Content;
        AffineTransform toRoot;
        Rect rect;
        Color color;
        Float opacity = 1;
        std::uint64_t layerId = 0;
        bool moving = false; // painted through its transform while the screen moves (a faster filter)
        LayerPtr overlay;    // drawn afresh each frame: compared by its pixels
        std::vector<Enclosing> enclosing;
        Rect box; // on the screen, in points
        bool looksTheSame(const Shown& other) const;
    };
    static std::vector<Shown> shownItems(const Composition& frame);
    // Adds to `changed` the boxes of what differs between the last frame and `now`; false when the
    // whole screen changed (items in another order, or one item shown twice: `distinct` is then false).
    bool compare(const std::vector<Shown>& now, Rect& changed, bool& distinct) const;

    std::vector<Shown> shown_;
    Size screen_;
    Float scale_ = 0;
    bool known_ = false;
};

} // namespace ui
