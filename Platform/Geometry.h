#pragma once
// Points, sizes, rectangles and affine transforms in screen points, y growing downward.

#include <algorithm>
#include <cmath>

namespace ui {

using Float = double;

struct Point {
    Float x = 0, y = 0;
    friend bool operator==(Point, Point) = default;
    Point operator+(Point o) const { return {x + o.x, y + o.y}; }
    Point operator-(Point o) const { return {x - o.x, y - o.y}; }
};

struct Size {
    Float width = 0, height = 0;
    friend bool operator==(Size, Size) = default;
};

struct Rect {
    Point origin;
    Size size;

    Rect() = default;
    Rect(Float x, Float y, Float w, Float h) : origin{x, y}, size{w, h} {}
    Rect(Point o, Size s) : origin(o), size(s) {}
    friend bool operator==(const Rect&, const Rect&) = default;

    Float x() const { return origin.x; }
    Float y() const { return origin.y; }
    Float width() const { return size.width; }
    Float height() const { return size.height; }
    Float minX() const { return std::min(origin.x, origin.x + size.width); }
    Float minY() const { return std::min(origin.y, origin.y + size.height); }
    Float maxX() const { return std::max(origin.x, origin.x + size.width); }
    Float maxY() const { return std::max(origin.y, origin.y + size.height); }
    Float midX() const { return origin.x + size.width / 2; }
    Float midY() const { return origin.y + size.height / 2; }
    Point center() const { return {midX(), midY()}; }
    // Edges on the low side are inside, edges on the high side are not.
    bool contains(Point p) const { return p.x >= minX() && p.x < maxX() && p.y >= minY() && p.y < maxY(); }
};

// The matrix [a b 0; c d 0; tx ty 1] applied to row vectors: x' = a x + c y + tx, y' = b x + d y + ty.
struct AffineTransform {
    Float a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;
    friend bool operator==(const AffineTransform&, const AffineTransform&) = default;

    static AffineTransform identity() { return {}; }
    static AffineTransform scale(Float sx, Float sy) { return {sx, 0, 0, sy, 0, 0}; }
    static AffineTransform rotation(Float angle) {
        Float cs = std::cos(angle), sn = std::sin(angle);
        return {cs, sn, -sn, cs, 0, 0};
    }
    static AffineTransform translation(Float x, Float y) { return {1, 0, 0, 1, x, y}; }

    bool isIdentity() const { return *this == AffineTransform{}; }
    // This transform followed by `then`.
    AffineTransform concat(const AffineTransform& then) const {
        return {a * then.a + b * then.c,   a * then.b + b * then.d,   c * then.a + d * then.c,
                c * then.b + d * then.d,   tx * then.a + ty * then.c + then.tx,
                tx * then.b + ty * then.d + then.ty};
    }
    // Like CGAffineTransformScale and friends: the new operation applies first, then this one.
    AffineTransform scaled(Float sx, Float sy) const { return scale(sx, sy).concat(*this); }
    AffineTransform rotated(Float angle) const { return rotation(angle).concat(*this); }
    AffineTransform translated(Float x, Float y) const { return translation(x, y).concat(*this); }
    AffineTransform inverted() const {
        Float det = a * d - b * c;
        if (det == 0)
            return *this;
        return {d / det, -b / det, -c / det, a / det, (c * ty - d * tx) / det, (b * tx - a * ty) / det};
    }
    Point apply(Point p) const { return {a * p.x + c * p.y + tx, b * p.x + d * p.y + ty}; }
    Size apply(Size s) const { return {a * s.width + c * s.height, b * s.width + d * s.height}; }
    // The bounding box of the transformed rectangle.
    Rect apply(const Rect& r) const {
        Point p[4] = {apply(r.origin), apply(Point{r.maxX(), r.minY()}), apply(Point{r.minX(), r.maxY()}),
                      apply(Point{r.maxX(), r.maxY()})};
        Float x0 = p[0].x, x1 = p[0].x, y0 = p[0].y, y1 = p[0].y;
        for (auto q : p) {
            x0 = std::min(x0, q.x), x1 = std::max(x1, q.x), y0 = std::min(y0, q.y), y1 = std::max(y1, q.y);
        }
        return {x0, y0, x1 - x0, y1 - y0};
    }
};

} // namespace ui
