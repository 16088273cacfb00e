#pragma once
// The pieces of a running animation that a view keeps (internal to the toolkit; views and the
// renderer use them, viewer code uses Animation.h).

#include "Platform/Geometry.h"
#include "Platform/Image.h"

#include <variant>

namespace ui {

enum class AnimatedProperty { Alpha, Center, Bounds, Transform };

using AnimatedValue = std::variant<Float, Point, Rect, AffineTransform>;

// One property moving from `from` to the view's model value, whatever that is meanwhile.
struct PropertyAnimation {
    AnimatedProperty property;
    AnimatedValue from;
    Float start = 0, duration = 0;

    Float end() const { return start + duration; }
    // The share of the way done at `time`, on the ease-in-out curve (0 before the start, 1 at the end).
    Float progress(Float time) const;
};

enum class Transition { FlipFromLeft, FlipFromRight };

// A view turning over: the picture of its old content on the front, its live content on the back.
struct TransitionAnimation {
    Transition kind = Transition::FlipFromRight;
    Image before;
    Float start = 0, duration = 0;

    Float end() const { return start + duration; }
    Float progress(Float time) const;
};

// UIKit's default curve: cubic Bezier (0.42, 0) (0.58, 1), symmetric, so half the time is half the way.
Float easeInOut(Float linearProgress);

Float interpolate(Float from, Float to, Float t);
Point interpolate(Point from, Point to, Float t);
Rect interpolate(const Rect& from, const Rect& to, Float t);
// Scale, rotation, shear and translation are interpolated apart, so a turning view keeps its shape.
AffineTransform interpolate(const AffineTransform& from, const AffineTransform& to, Float t);

} // namespace ui
