#include "Platform/PropertyAnimation.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace ui {

namespace {

Float linearProgress(Float time, Float start, Float duration) {
    if (duration <= 0)
        return 1;
    return std::clamp((time - start) / duration, 0.0, 1.0);
}

// The coordinate of a cubic Bezier from 0 to 1 with control values p1 and p2.
Float bezier(Float t, Float p1, Float p2) {
    Float u = 1 - t;
    return 3 * u * u * t * p1 + 3 * u * t * t * p2 + t * t * t;
}

struct DecomposedTransform {
    Float scaleX, angle, shear, scaleY, tx, ty; // shear is already multiplied by scaleY
};

// Splits the matrix into scale x, then shear and scale y, then rotation, then translation.
DecomposedTransform decompose(const AffineTransform& m) {
    Float scaleX = std::hypot(m.a, m.b);
    Float angle = scaleX > 0 ? std::atan2(m.b, m.a) : 0;
    Float cs = std::cos(angle), sn = std::sin(angle);
    return {scaleX, angle, m.c * cs + m.d * sn, -m.c * sn + m.d * cs, m.tx, m.ty};
}

AffineTransform recompose(const DecomposedTransform& d) {
    Float cs = std::cos(d.angle), sn = std::sin(d.angle);
    return {d.scaleX * cs, d.scaleX * sn, d.shear * cs - d.scaleY * sn, d.shear * sn + d.scaleY * cs,
            d.tx,          d.ty};
}

} // namespace

Float easeInOut(Float x) {
    if (x <= 0)
        return 0;
    if (x >= 1)
        return 1;
    // Find the curve parameter whose x is `x` by bisection (x(t) is monotonic), then read y there.
    Float lo = 0, hi = 1;
    for (int i = 0; i < 40; ++i) {
        Float mid = (lo + hi) / 2;
        (bezier(mid, 0.42, 0.58) < x ? lo : hi) = mid;
    }
    return bezier((lo + hi) / 2, 0, 1);
}

Float PropertyAnimation::progress(Float time) const {
    return easeInOut(linearProgress(time, start, duration));
}

Float TransitionAnimation::progress(Float time) const {
    return easeInOut(linearProgress(time, start, duration));
}

Float interpolate(Float from, Float to, Float t) {
    return from + (to - from) * t;
}

Point interpolate(Point from, Point to, Float t) {
    return {interpolate(from.x, to.x, t), interpolate(from.y, to.y, t)};
}

Rect interpolate(const Rect& from, const Rect& to, Float t) {
    return {interpolate(from.origin, to.origin, t), Size{interpolate(from.size.width, to.size.width, t),
                                                         interpolate(from.size.height, to.size.height, t)}};
}

AffineTransform interpolate(const AffineTransform& from, const AffineTransform& to, Float t) {
    auto a = decompose(from), b = decompose(to);
    // Turn the short way round.
    if (b.angle - a.angle > std::numbers::pi)
        b.angle -= 2 * std::numbers::pi;
    else if (a.angle - b.angle > std::numbers::pi)
        b.angle += 2 * std::numbers::pi;
    return recompose({interpolate(a.scaleX, b.scaleX, t), interpolate(a.angle, b.angle, t),
                      interpolate(a.shear, b.shear, t), interpolate(a.scaleY, b.scaleY, t),
                      interpolate(a.tx, b.tx, t), interpolate(a.ty, b.ty, t)});
}

} // namespace ui
