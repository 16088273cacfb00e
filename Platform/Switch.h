#pragma once
// An on/off switch as the phone had it: a 94 x 27 rounded track, blue with "ON" on the left when on,
// light with "OFF" on the right when off, and a knob that slides between the two.
//
//     auto toggle = ui::make<ui::Switch>(ui::Rect(10, 50, 40, 20));   // made 94 x 27 at (10, 50)
//     toggle->addTarget(ui::ControlEvent::ValueChanged, [](ui::Control* sender) { ... });
//
// A switch always has its own size: the size of the frame it is made with is ignored, only its origin
// counts. A tap (touch up inside) flips it, slides the knob over 0.2 s and sends ValueChanged; `setOn`
// from code sends nothing. Switches start off.

#include "Platform/Control.h"

namespace ui {

class Switch : public Control {
public:
    static constexpr Size size{94, 27};
    static constexpr Float slideDuration = 0.2;

    explicit Switch(const Rect& frame = {});

    bool isOn() const { return on_; }
    void setOn(bool on, bool animated = false);

    void draw(const DrawContext& context) override;
    int layerCount() const override { return 2; } // the track and its words
    std::string className() const override { return "Switch"; }

private:
    Point knobCenter(bool on) const;

    bool on_ = false;
    ViewPtr knob_;
};

using SwitchPtr = std::shared_ptr<Switch>;

} // namespace ui
