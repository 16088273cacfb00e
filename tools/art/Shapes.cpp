#include "Shapes.h"

#include <cmath>
#include <memory>
#include <pango/pangocairo.h>
#include <utility>

namespace art {

void roundedRectPath(cairo_t* cr, double x, double y, double w, double h, double radius) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - radius, y + radius, radius, -M_PI / 2, 0);
    cairo_arc(cr, x + w - radius, y + h - radius, radius, 0, M_PI / 2);
    cairo_arc(cr, x + radius, y + h - radius, radius, M_PI / 2, M_PI);
    cairo_arc(cr, x + radius, y + radius, radius, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

void bubblePath(cairo_t* cr, const BubbleShape& s) {
    double r = s.radius;
    cairo_new_sub_path(cr);
    cairo_arc(cr, s.right - r, s.top + r, r, -M_PI / 2, 0);
    cairo_arc(cr, s.right - r, s.bottom - r, r, 0, M_PI / 2);
    if (s.pointerTipX) {
        double tip = *s.pointerTipX;
        cairo_line_to(cr, tip + s.pointerHalfWidth, s.bottom);
        cairo_line_to(cr, tip, s.pointerTipY);
        cairo_line_to(cr, tip - s.pointerHalfWidth, s.bottom);
    }
    cairo_arc(cr, s.left + r, s.bottom - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, s.left + r, s.top + r, r, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

void fillAndEdgeBubble(cairo_t* cr, const BubbleShape& shape) {
    bubblePath(cr, shape);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    fillWithEdge(cr, palette::panel, 1.5, palette::panelEdge);
}

void pinPath(cairo_t* cr, Pt tip, Pt head, double r) {
    double dx = tip.x - head.x, dy = tip.y - head.y;
    double towardsTip = std::atan2(dy, dx);
    double spread = std::acos(r / std::hypot(dx, dy));
    cairo_new_sub_path(cr);
    cairo_move_to(cr, tip.x, tip.y);
    cairo_arc(cr, head.x, head.y, r, towardsTip + spread, towardsTip - spread + 2 * M_PI);
    cairo_close_path(cr);
}

void fillWithEdge(cairo_t* cr, Rgba fill, double edgeWidth, Rgba edge) {
    setColor(cr, fill);
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, edgeWidth);
    setColor(cr, edge);
    cairo_stroke(cr);
}

void strokeLine(cairo_t* cr, Pt from, Pt to, double width, Rgba color) {
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_move_to(cr, from.x, from.y);
    cairo_line_to(cr, to.x, to.y);
    cairo_set_line_width(cr, width);
    setColor(cr, color);
    cairo_stroke(cr);
}

void haloStroke(cairo_t* cr, const Pt* points, int count, double width, Rgba color, double haloWidth,
                Rgba halo) {
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    for (auto [w, c] : {std::pair{haloWidth, halo}, std::pair{width, color}}) {
        cairo_move_to(cr, points[0].x, points[0].y);
        for (int i = 1; i < count; ++i)
            cairo_line_to(cr, points[i].x, points[i].y);
        cairo_set_line_width(cr, w);
        setColor(cr, c);
        cairo_stroke(cr);
    }
}

LayoutPtr pointLayout(cairo_t* cr) {
    LayoutPtr layout(pango_cairo_create_layout(cr), g_object_unref);
    PangoContext* context = pango_layout_get_context(layout.get());
    pango_cairo_context_set_resolution(context, 72);
    std::unique_ptr<cairo_font_options_t, decltype(&cairo_font_options_destroy)> options(
        cairo_font_options_create(), cairo_font_options_destroy);
    cairo_font_options_set_hint_metrics(options.get(), CAIRO_HINT_METRICS_OFF);
    pango_cairo_context_set_font_options(context, options.get());
    pango_layout_context_changed(layout.get());
    return layout;
}

namespace {

LayoutPtr textLayout(cairo_t* cr, const std::string& text, const std::string& font, double letterSpacing) {
    LayoutPtr layout = pointLayout(cr);
    std::unique_ptr<PangoFontDescription, decltype(&pango_font_description_free)> description(
        pango_font_description_from_string(font.c_str()), pango_font_description_free);
    pango_layout_set_font_description(layout.get(), description.get());
    if (letterSpacing != 0) {
        std::unique_ptr<PangoAttrList, decltype(&pango_attr_list_unref)> attributes(pango_attr_list_new(),
                                                                                    pango_attr_list_unref);
        pango_attr_list_insert(attributes.get(),
                               pango_attr_letter_spacing_new(int(letterSpacing * PANGO_SCALE)));
        pango_layout_set_attributes(layout.get(), attributes.get());
    }
    pango_layout_set_text(layout.get(), text.c_str(), -1);
    return layout;
}

} // namespace

double textWidth(cairo_t* cr, const std::string& text, const std::string& font) {
    PangoRectangle logical;
    pango_layout_get_extents(textLayout(cr, text, font, 0).get(), nullptr, &logical);
    return double(logical.width) / PANGO_SCALE;
}

void centredText(cairo_t* cr, const std::string& text, const std::string& font, Pt center, Rgba color,
                 double letterSpacing) {
    LayoutPtr layout = textLayout(cr, text, font, letterSpacing);
    PangoRectangle ink;
    pango_layout_get_extents(layout.get(), &ink, nullptr);
    double x = double(ink.x) / PANGO_SCALE, y = double(ink.y) / PANGO_SCALE;
    double w = double(ink.width) / PANGO_SCALE, h = double(ink.height) / PANGO_SCALE;
    setColor(cr, color);
    cairo_move_to(cr, center.x - x - w / 2, center.y - y - h / 2);
    pango_cairo_show_layout(cr, layout.get());
}

void labelText(cairo_t* cr, const std::string& text, const std::string& font, Pt center, Rgba color) {
    LayoutPtr layout = textLayout(cr, text, font, 0);
    PangoRectangle logical;
    pango_layout_get_extents(layout.get(), nullptr, &logical);
    setColor(cr, color);
    cairo_move_to(cr, center.x - double(logical.width) / PANGO_SCALE / 2,
                  center.y - double(logical.height) / PANGO_SCALE / 2);
    pango_cairo_show_layout(cr, layout.get());
}

} // namespace art
