#include "Platform/Switch.h"

#include "Platform/Animation.h"
#include "Platform/ControlDrawing.h"

namespace ui {

namespace {

constexpr Float knobWidth = 40;
constexpr Float cornerRadius = 6;
const Color onBlue = {0.0, 0.44, 0.89, 1};
const Color offGrey = {0.93, 0.93, 0.93, 1};
const Color edgeGrey = {0.55, 0.55, 0.58, 1};

class Knob : public View {
public:
    using View::View;

    void draw(const DrawContext& context) override {
        cairo_t* cr = context.cr;
        Rect r(0.5, 0.5, bounds().width() - 1, bounds().height() - 1);
        roundedRectangle(cr, r, cornerRadius);
        setVerticalGradient(cr, r, {0.98, 0.98, 0.98, 1}, {0.80, 0.80, 0.82, 1}, context.opacity);
        cairo_fill_preserve(cr);
        setColor(cr, edgeGrey, context.opacity);
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
    }
    int layerCount() const override { return 2; }
    std::string className() const override { return "SwitchKnob"; }
};

} // namespace

Switch::Switch(const Rect& frame) : Control(Rect(frame.origin, size)) {
    knob_ = make<Knob>(Rect(0, 0, knobWidth, size.height));
    knob_->setUserInteractionEnabled(false);
    knob_->setCenter(knobCenter(false));
    addSubview(knob_);
    addTarget(ControlEvent::TouchUpInside, [](Control* sender) {
        auto* toggle = static_cast<Switch*>(sender);
        toggle->setOn(!toggle->isOn(), true);
        toggle->sendActions(ControlEvent::ValueChanged);
    });
}

Point Switch::knobCenter(bool on) const {
    Float x = on ? size.width - knobWidth / 2 : knobWidth / 2;
    return {x, size.height / 2};
}

void Switch::setOn(bool on, bool animated) {
    on_ = on;
    if (animated)
        Animation::begin(slideDuration);
    knob_->setCenter(knobCenter(on));
    if (animated)
        Animation::commit();
    setNeedsDisplay();
}

// The words slide with the knob: "ON" ends where the knob begins, "OFF" starts where it ends.
void Switch::draw(const DrawContext& context) {
    cairo_t* cr = context.cr;
    Rect track(0.5, 0.5, size.width - 1, size.height - 1);
    Float knobLeft = knob_->presentationCenter().x - knobWidth / 2;
    Float split = knobLeft + knobWidth / 2;

    cairo_save(cr);
    roundedRectangle(cr, track, cornerRadius);
    cairo_clip(cr);
    Rect onPart(0, 0, split, size.height), offPart(split, 0, size.width - split, size.height);
    setVerticalGradient(cr, onPart, lighter(onBlue, -0.25), lighter(onBlue, 0.15), context.opacity);
    cairo_rectangle(cr, onPart.x(), onPart.y(), onPart.width(), onPart.height());
    cairo_fill(cr);
    setVerticalGradient(cr, offPart, {0.80, 0.80, 0.80, 1}, offGrey, context.opacity);
    cairo_rectangle(cr, offPart.x(), offPart.y(), offPart.width(), offPart.height());
    cairo_fill(cr);
    Float wordWidth = size.width - knobWidth;
    drawText(cr, "ON", {Font::boldSystem(15), {1, 1, 1, context.opacity}, TextAlignment::Center, 1},
             Rect(knobLeft - wordWidth, 0, wordWidth, size.height));
    drawText(cr, "OFF", {Font::boldSystem(15), {0.45, 0.45, 0.45, context.opacity}, TextAlignment::Center, 1},
             Rect(knobLeft + knobWidth, 0, wordWidth, size.height));
    cairo_restore(cr);

    roundedRectangle(cr, track, cornerRadius);
    setColor(cr, edgeGrey, context.opacity);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
}

} // namespace ui
