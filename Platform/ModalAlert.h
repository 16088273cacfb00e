#pragma once
// An alert that holds the screen until one of its buttons is pressed (the alert view implements it;
// the application keeps the one shown, for the automation to read and press).

#include <nlohmann/json.hpp>
#include <string>

namespace ui {

class ModalAlert {
public:
    virtual ~ModalAlert() = default;
    // {"title": ..., "message": ..., "buttons": [titles by index]}
    virtual nlohmann::ordered_json description() const = 0;
    // Presses the button with that title; false when there is none.
    virtual bool pressButton(const std::string& title) = 0;
};

} // namespace ui
