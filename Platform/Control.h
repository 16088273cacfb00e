#pragma once
// Controls: views that track their own touches and send actions.
//
// A touch that begins on an enabled control stays with it and never goes up the responder chain:
//
//     event              inside bounds   highlighted   sends
//     finger down        yes             on            -
//     finger moves       yes / no        on / off      -
//     finger up          yes             off           touch-up-inside actions
//     finger up          no              off           -
//     touch cancelled    any             off           -
//
// A disabled control takes no touches (the hit test passes through it).

#include "Platform/View.h"

#include <functional>
#include <vector>

namespace ui {

enum class ControlState { Normal, Highlighted, Disabled, Selected };
enum class ControlEvent { TouchUpInside, ValueChanged };

class Control : public View {
public:
    using Action = std::function<void(Control* sender)>;

    using View::View;

    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled);
    bool isHighlighted() const { return highlighted_; }
    void setHighlighted(bool highlighted);
    bool isSelected() const { return selected_; }
    void setSelected(bool selected);
    bool isTracking() const { return tracking_; }
    // The state that decides the look: disabled, else highlighted, else selected, else normal.
    ControlState state() const;

    void addTarget(ControlEvent event, Action action);
    // Runs the actions for `event` with this control as sender.
    void sendActions(ControlEvent event);

    View* hitTest(Point point) override;
    void touchesBegan(const TouchSet& touches) override;
    void touchesMoved(const TouchSet& touches) override;
    void touchesEnded(const TouchSet& touches) override;
    void touchesCancelled(const TouchSet& touches) override;

    std::string className() const override { return "Control"; }

protected:
    // The look changed with the state.
    virtual void stateDidChange() { setNeedsDisplay(); }

private:
    bool isInside(const TouchSet& touches) const;

    bool enabled_ = true;
    bool highlighted_ = false;
    bool selected_ = false;
    bool tracking_ = false;
    std::vector<std::pair<ControlEvent, Action>> actions_;
};

} // namespace ui
