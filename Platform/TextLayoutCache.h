#pragma once
// The one Pango context all text is measured and drawn with, and the layouts made in it.
// The context has hint metrics off, unrounded glyph positions and sizes in points, so a layout
// measures the same whatever scale it is later drawn at: drawing reuses the measuring layout and
// lets Cairo rasterise the glyphs for the target's own transform.

#include "Platform/Font.h"

#include <pango/pangocairo.h>

#include <memory>
#include <string>
#include <unordered_map>

namespace ui {

struct TextLayoutKey {
    std::string text;
    Font font;
    Float wrapWidth = -1; // points; -1 = one line per paragraph, never wrapped
    TextAlignment alignment = TextAlignment::Left;
    Float lineSpacing = 0; // points; 0 = the font's line height
    // Lines that would not fit end the text with "…": at most this many lines (0 = no truncation;
    // needs a wrap width).
    int truncatedToLines = 0;
    friend bool operator==(const TextLayoutKey&, const TextLayoutKey&) = default;
};

struct TextLayoutKeyHash {
    size_t operator()(const TextLayoutKey& key) const;
};

class TextLayoutCache {
public:
    static TextLayoutCache& shared();
    ~TextLayoutCache();
    TextLayoutCache(const TextLayoutCache&) = delete;
    TextLayoutCache& operator=(const TextLayoutCache&) = delete;

    // A layout owned by the cache; valid until the next call.
    PangoLayout* layout(const TextLayoutKey& key);
    // The distance between baselines of wrapped lines, in points.
    Float lineHeight(const Font& font);
    // "Family Style" of the face that fontconfig actually picked for the font.
    std::string faceName(const Font& font);

    // Layouts kept at most; the cache starts over when it is full.
    static constexpr size_t capacity = 1024;

private:
    TextLayoutCache();
    PangoFontDescription* description(const Font& font);
    PangoContext* context();

    struct ObjectUnref {
        void operator()(void* object) const { g_object_unref(object); }
    };
    struct DescriptionFree {
        void operator()(PangoFontDescription* d) const { pango_font_description_free(d); }
    };
    std::unique_ptr<PangoFontMap, ObjectUnref> fontMap_;
    std::unique_ptr<PangoContext, ObjectUnref> context_;
    std::unordered_map<TextLayoutKey, std::unique_ptr<PangoLayout, ObjectUnref>, TextLayoutKeyHash> layouts_;
    std::unordered_map<int, std::unique_ptr<PangoFontDescription, DescriptionFree>> descriptions_;
    std::unordered_map<int, Float> lineHeights_;
    bool familyChecked_ = false;
};

// The family every font of the toolkit asks for.
inline constexpr const char* systemFontFamily = "Nimbus Sans";

} // namespace ui
