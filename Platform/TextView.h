#pragma once
// A read-only text area: text wrapped by words within the width, scrolled vertically when it is longer
// than the view and user interaction is on.
//
// As on the phone of the time: white background, black system font of size 12, and an 8-point margin
// around the text, which `contentSize` includes (height = text height + 16). Lines are set on whole
// points, the font's line height rounded up (16 apart for 13-point text), as the phone's text view
// set them; labels keep the font's own line height. The text is measured
// again whenever it, the font or the width changes. Editing is not supported: `editable` is kept only
// as a flag.

#include "Platform/ScrollView.h"
#include "Platform/WithText.h"

namespace ui {

class TextView : public WithText<ScrollView> {
public:
    static constexpr Float margin = 8;

    explicit TextView(const Rect& frame = {});

    bool isEditable() const { return editable_; }
    void setEditable(bool editable) { editable_ = editable; }
    // How far apart a text view sets the lines of text in `font`.
    static Float lineSpacing(const Font& font);

    // Where the characters at byte offsets [begin, end) of the text lie as it is laid out, in content
    // coordinates, which are the bounds' (scrolling moves the bounds' origin); see `textRangeRect`.
    Rect rectOfTextRange(std::size_t begin, std::size_t end) const;

    void draw(const DrawContext& context) override;
    int layerCount() const override { return 2; } // the text and the scroll indicator
    std::string className() const override { return "TextView"; }

protected:
    void boundsSizeDidChange() override { measure(); }
    void textLayoutDidChange() override { measure(); }

private:
    void measure();

    bool editable_ = true;
};

using TextViewPtr = std::shared_ptr<TextView>;

} // namespace ui
