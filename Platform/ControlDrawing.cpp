#include "Platform/ControlDrawing.h"

#include <algorithm>
#include <numbers>

namespace ui {

void roundedRectangle(cairo_t* cr, const Rect& r, Float radius) {
    using std::numbers::pi;
    radius = std::clamp(radius, 0.0, std::min(r.width(), r.height()) / 2);
    cairo_new_sub_path(cr);
    cairo_arc(cr, r.maxX() - radius, r.minY() + radius, radius, -pi / 2, 0);
    cairo_arc(cr, r.maxX() - radius, r.maxY() - radius, radius, 0, pi / 2);
    cairo_arc(cr, r.minX() + radius, r.maxY() - radius, radius, pi / 2, pi);
    cairo_arc(cr, r.minX() + radius, r.minY() + radius, radius, pi, 3 * pi / 2);
    cairo_close_path(cr);
}

void setColor(cairo_t* cr, const Color& c, Float opacity) {
    cairo_set_source_rgba(cr, c.r, c.g, c.b, c.a * opacity);
}

void setVerticalGradient(cairo_t* cr, const Rect& rect, const Color& top, const Color& bottom,
                         Float opacity) {
    cairo_pattern_t* gradient = cairo_pattern_create_linear(0, rect.minY(), 0, rect.maxY());
    cairo_pattern_add_color_stop_rgba(gradient, 0, top.r, top.g, top.b, top.a * opacity);
    cairo_pattern_add_color_stop_rgba(gradient, 1, bottom.r, bottom.g, bottom.b, bottom.a * opacity);
    cairo_set_source(cr, gradient);
    cairo_pattern_destroy(gradient);
}

Color lighter(const Color& c, Float amount) {
    Float target = amount > 0 ? 1 : 0;
    Float t = std::abs(amount);
    return {c.r + (target - c.r) * t, c.g + (target - c.g) * t, c.b + (target - c.b) * t, c.a};
}

} // namespace ui
