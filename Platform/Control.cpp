#include "Platform/Control.h"

namespace ui {

void Control::setEnabled(bool enabled) {
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    stateDidChange();
}

void Control::setHighlighted(bool highlighted) {
    if (highlighted == highlighted_)
        return;
    highlighted_ = highlighted;
    stateDidChange();
}

void Control::setSelected(bool selected) {
    if (selected == selected_)
        return;
    selected_ = selected;
    stateDidChange();
}

ControlState Control::state() const {
    if (!enabled_)
        return ControlState::Disabled;
    if (highlighted_)
        return ControlState::Highlighted;
    return selected_ ? ControlState::Selected : ControlState::Normal;
}

void Control::addTarget(ControlEvent event, Action action) {
    actions_.emplace_back(event, std::move(action));
}

void Control::sendActions(ControlEvent event) {
    // An action may remove this control from the screen or change the action list.
    auto keepAlive = weak_from_this().lock();
    auto actions = actions_;
    for (auto& [e, action] : actions) {
        if (e == event && action)
            action(this);
    }
}

View* Control::hitTest(Point point) {
    return enabled_ ? View::hitTest(point) : nullptr;
}

bool Control::isInside(const TouchSet& touches) const {
    return bounds().contains(touches.anyObject().locationIn(this));
}

void Control::touchesBegan(const TouchSet&) {
    tracking_ = true;
    setHighlighted(true);
}

void Control::touchesMoved(const TouchSet& touches) {
    if (tracking_)
        setHighlighted(isInside(touches));
}

void Control::touchesEnded(const TouchSet& touches) {
    if (!tracking_)
        return;
    tracking_ = false;
    setHighlighted(false);
    if (enabled_ && isInside(touches))
        sendActions(ControlEvent::TouchUpInside);
}

void Control::touchesCancelled(const TouchSet&) {
    tracking_ = false;
    setHighlighted(false);
}

} // namespace ui
