#include "Platform/TextLayoutCache.h"

#include <cmath>
#include <functional>
#include <iostream>

namespace ui {

namespace {

PangoStyle pangoStyle(FontStyle style) {
    return style == FontStyle::Italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL;
}

PangoWeight pangoWeight(FontStyle style) {
    return style == FontStyle::Bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL;
}

PangoAlignment pangoAlignment(TextAlignment alignment) {
    switch (alignment) {
    case TextAlignment::Left:
        return PANGO_ALIGN_LEFT;
    case TextAlignment::Center:
        return PANGO_ALIGN_CENTER;
    case TextAlignment::Right:
        return PANGO_ALIGN_RIGHT;
    }
    return PANGO_ALIGN_LEFT;
}

int pangoUnits(Float points) {
    return static_cast<int>(std::lround(points * PANGO_SCALE));
}

// Sizes are kept in Pango units together with the style, so equal fonts share one description.
int descriptionKey(const Font& font) {
    return pangoUnits(font.size) * 4 + static_cast<int>(font.style);
}

void configureForScaleIndependence(PangoContext* context) {
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    pango_cairo_context_set_font_options(context, options);
    cairo_font_options_destroy(options);
    pango_context_set_round_glyph_positions(context, FALSE);
}

void warnWhenFamilyIsMissing(const std::string& face) {
    if (face.rfind(systemFontFamily, 0) != 0 || face.rfind("Nimbus Sans Narrow", 0) == 0)
        std::cerr << "font family \"" << systemFontFamily << "\" not installed, text uses \"" << face
                  << "\" (install fonts-urw-base35)\n";
}

// Pango refuses text that is not UTF-8; damaged bytes are shown as replacement characters instead.
void setValidText(PangoLayout* layout, const std::string& text) {
    if (g_utf8_validate(text.data(), static_cast<gssize>(text.size()), nullptr)) {
        pango_layout_set_text(layout, text.data(), static_cast<int>(text.size()));
        return;
    }
    gchar* valid = g_utf8_make_valid(text.data(), static_cast<gssize>(text.size()));
    pango_layout_set_text(layout, valid, -1);
    g_free(valid);
}

} // namespace

size_t TextLayoutKeyHash::operator()(const TextLayoutKey& key) const {
    size_t hash = std::hash<std::string>()(key.text);
    auto mix = [&hash](size_t value) { hash ^= value + 0x9e3779b97f4a7c15ULL + (hash << 6) + (hash >> 2); };
    mix(static_cast<size_t>(descriptionKey(key.font)));
    mix(static_cast<size_t>(pangoUnits(key.wrapWidth)));
    mix(static_cast<size_t>(key.alignment));
    mix(static_cast<size_t>(pangoUnits(key.lineSpacing)));
    mix(static_cast<size_t>(key.truncatedToLines));
    return hash;
}

TextLayoutCache& TextLayoutCache::shared() {
    static TextLayoutCache cache;
    return cache;
}

// Making the font map starts Pango's search for the installed fonts on a thread of its own; nothing here
// waits for it. Sizes are absolute (see description()), so the font map keeps its default resolution:
// setting one would wait for the search.
TextLayoutCache::TextLayoutCache() : fontMap_(pango_cairo_font_map_new()) {
    context_.reset(pango_font_map_create_context(fontMap_.get()));
    configureForScaleIndependence(context_.get());
}

TextLayoutCache::~TextLayoutCache() = default;

PangoFontDescription* TextLayoutCache::description(const Font& font) {
    auto& slot = descriptions_[descriptionKey(font)];
    if (!slot) {
        slot.reset(pango_font_description_new());
        pango_font_description_set_family_static(slot.get(), systemFontFamily);
        pango_font_description_set_style(slot.get(), pangoStyle(font.style));
        pango_font_description_set_weight(slot.get(), pangoWeight(font.style));
        // An absolute size is in device units, which are points here: no dpi is involved.
        pango_font_description_set_absolute_size(slot.get(), pangoUnits(font.size));
    }
    return slot.get();
}

// The first use of the context waits for the search anyway, so the family is checked then.
PangoContext* TextLayoutCache::context() {
    if (!familyChecked_) {
        familyChecked_ = true;
        warnWhenFamilyIsMissing(faceName(Font::system(17)));
    }
    return context_.get();
}

PangoLayout* TextLayoutCache::layout(const TextLayoutKey& key) {
    auto found = layouts_.find(key);
    if (found != layouts_.end())
        return found->second.get();
    if (layouts_.size() >= capacity)
        layouts_.clear();
    PangoLayout* layout = pango_layout_new(context());
    pango_layout_set_font_description(layout, description(key.font));
    setValidText(layout, key.text);
    if (key.wrapWidth > 0) {
        pango_layout_set_width(layout, pangoUnits(key.wrapWidth));
        pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
    }
    pango_layout_set_alignment(layout, pangoAlignment(key.alignment));
    Float spacing = key.lineSpacing > 0 ? key.lineSpacing : lineHeight(key.font);
    if (key.truncatedToLines > 0 && key.wrapWidth > 0) {
        pango_layout_set_ellipsize(layout, PANGO_ELLIPSIZE_END);
        // A height keeps whole lines of the whole text (a negative one would count per paragraph);
        // half a line more lets rounding keep the last one.
        pango_layout_set_height(layout, pangoUnits((key.truncatedToLines + 0.5) * spacing));
    }
    // Every line, the first too, is one font height tall (ascent, descent and the face's line gap:
    // 1.2 em here), as phone text is set, so n lines measure n line heights. Pango's default of
    // ascent plus descent alone crowds wrapped lines.
    PangoAttrList* attributes = pango_attr_list_new();
    pango_attr_list_insert(attributes, pango_attr_line_height_new_absolute(pangoUnits(spacing)));
    pango_layout_set_attributes(layout, attributes);
    pango_attr_list_unref(attributes);
    layouts_.emplace(key, layout);
    return layout;
}

Float TextLayoutCache::lineHeight(const Font& font) {
    auto found = lineHeights_.find(descriptionKey(font));
    if (found != lineHeights_.end())
        return found->second;
    PangoFontMetrics* metrics = pango_context_get_metrics(context(), description(font), nullptr);
    Float height = static_cast<Float>(pango_font_metrics_get_height(metrics)) / PANGO_SCALE;
    pango_font_metrics_unref(metrics);
    lineHeights_.emplace(descriptionKey(font), height);
    return height;
}

std::string TextLayoutCache::faceName(const Font& font) {
    PangoFont* loaded = pango_font_map_load_font(fontMap_.get(), context(), description(font));
    if (!loaded)
        return "";
    PangoFontDescription* described = pango_font_describe(loaded);
    std::string family =
        pango_font_description_get_family(described) ? pango_font_description_get_family(described) : "";
    PangoFontFace* face = pango_font_get_face(loaded);
    std::string faceName = face ? pango_font_face_get_face_name(face) : "";
    pango_font_description_free(described);
    g_object_unref(loaded);
    return family + " " + faceName;
}

} // namespace ui
