#include "Platform/SearchBar.h"

#include "Platform/ControlDrawing.h"

#include <algorithm>
#include <numbers>

namespace ui {

namespace {

constexpr Float fieldHeight = 31;
constexpr Float margin = 6;

Image magnifier() {
    ImageContext context({14, 14});
    cairo_t* cr = context.cairo();
    cairo_set_source_rgb(cr, 0.45, 0.45, 0.45);
    cairo_set_line_width(cr, 1.8);
    cairo_arc(cr, 5.8, 5.8, 4.2, 0, 2 * std::numbers::pi);
    cairo_stroke(cr);
    cairo_set_line_width(cr, 2.4);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_move_to(cr, 9, 9);
    cairo_line_to(cr, 12.5, 12.5);
    cairo_stroke(cr);
    return context.image();
}

// A bordered bar button in the tint colour; its middle stretches.
Image cancelFace(const Color& tint, bool pressed) {
    ImageContext context({21, 30});
    cairo_t* cr = context.cairo();
    Rect r(0.5, 0.5, 20, 29);
    roundedRectangle(cr, r, 5);
    Color base = pressed ? lighter(tint, -0.45) : lighter(tint, -0.2);
    setVerticalGradient(cr, r, lighter(base, 0.3), base, 1);
    cairo_fill_preserve(cr);
    setColor(cr, lighter(tint, -0.6), 1);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    return context.image().stretchable(10, 15);
}

} // namespace

SearchBar::SearchBar(const Rect& frame) : View(frame) {
    field_ = make<TextField>();
    field_->setLeftImage(magnifier());
    field_->setCornerRadius(fieldHeight / 2);
    connectField();
    addSubview(field_);

    cancelButton_ = make<Button>(ButtonType::Custom);
    cancelButton_->setTitle("Cancel");
    cancelButton_->setTitleFont(Font::boldSystem(12));
    cancelButton_->setTitleColor(Color::white());
    cancelButton_->setHidden(true);
    cancelButton_->addAction([this](Button*) {
        if (delegate_)
            delegate_->searchBarCancelButtonClicked(*this);
    });
    addSubview(cancelButton_);
    setTintColor(tint_);
    layOut();
}

void SearchBar::connectField() {
    field_->onTextChange = [this](TextField&, const std::string& text) {
        if (delegate_)
            delegate_->searchBarTextDidChange(*this, text);
    };
    field_->onBeginEditing = [this](TextField&) {
        if (delegate_)
            delegate_->searchBarTextDidBeginEditing(*this);
    };
    field_->onEndEditing = [this](TextField&) {
        if (delegate_)
            delegate_->searchBarTextDidEndEditing(*this);
    };
    field_->onReturn = [this](TextField&) {
        if (delegate_)
            delegate_->searchBarSearchButtonClicked(*this);
    };
}

void SearchBar::setShowsCancelButton(bool shows) {
    cancelButton_->setHidden(!shows);
    layOut();
}

void SearchBar::setTintColor(const Color& color) {
    tint_ = color;
    cancelButton_->setBackgroundImage(cancelFace(tint_, false));
    cancelButton_->setBackgroundImage(cancelFace(tint_, true), ControlState::Highlighted);
    setNeedsDisplay();
}

void SearchBar::layOut() {
    Float width = bounds().width(), height = bounds().height();
    Float cancelRoom = showsCancelButton() ? cancelButtonWidth + margin : 0;
    field_->setFrame(Rect(margin, (height - fieldHeight) / 2, std::max(width - 2 * margin - cancelRoom, 0.0),
                          fieldHeight));
    cancelButton_->setFrame(
        Rect(width - margin - cancelButtonWidth, (height - 30) / 2, cancelButtonWidth, 30));
}

void SearchBar::draw(const DrawContext& context) {
    cairo_t* cr = context.cr;
    Rect b = bounds();
    setVerticalGradient(cr, b, lighter(tint_, 0.35), tint_, context.opacity);
    cairo_rectangle(cr, b.x(), b.y(), b.width(), b.height());
    cairo_fill(cr);
    setColor(cr, lighter(tint_, -0.4), context.opacity);
    cairo_rectangle(cr, b.x(), b.maxY() - 1, b.width(), 1);
    cairo_fill(cr);
}

} // namespace ui
