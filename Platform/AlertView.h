#pragma once
// A modal alert: a title, a message and a row or column of buttons in a rounded box over the dimmed
// screen, holding every touch until one of its buttons is pressed.
//
//     auto alert = ui::make<ui::AlertView>("Leave?", "", [this](ui::AlertView*, int index) { ... },
//                                          "NO", std::vector<std::string>{"YES"});
//     alert->show();
//
// Buttons are numbered in order: the cancel button is 0 when there is one, the other buttons follow.
// Pressing a button closes the alert, then calls the delegate with the button's index. Two buttons sit
// side by side (the cancel button on the left); one button fills the row; more are stacked with the
// cancel button at the bottom.
//
// While shown, the alert covers the whole window and is the application's open alert (what the
// automation's `alert TITLE` presses and `state` reports). An alert shown while another is open comes
// in front of it; the one behind becomes the open alert again when the front one closes.

#include "Platform/Application.h"
#include "Platform/Button.h"
#include "Platform/ModalAlert.h"
#include "Platform/View.h"

#include <functional>
#include <string>
#include <vector>

namespace ui {

class AlertView : public View, public ModalAlert {
public:
    using Delegate = std::function<void(AlertView* alert, int buttonIndex)>;

    // An empty cancel title means no cancel button.
    AlertView(std::string title, std::string message, Delegate delegate, std::string cancelButtonTitle = "",
              std::vector<std::string> otherButtonTitles = {});

    const std::string& title() const { return title_; }
    const std::string& message() const { return message_; }
    int numberOfButtons() const { return static_cast<int>(buttonTitles_.size()); }
    // "" for an index out of range.
    std::string buttonTitleAtIndex(int index) const;
    // 0 with a cancel button, -1 without.
    int cancelButtonIndex() const { return hasCancelButton_ ? 0 : -1; }

    // Puts the alert over the window; does nothing when it is shown already.
    void show();
    bool isVisible() const { return superview() != nullptr; }
    // Closes the alert and tells the delegate which button closed it.
    void dismissWithClickedButtonIndex(int index);

    Json description() const override;
    bool pressButton(const std::string& title) override;

    void draw(const DrawContext& context) override;
    int layerCount() const override { return 2; }
    std::string className() const override { return "AlertView"; }
    void describe(ViewDescription& description) const override { description.text = title_; }

private:
    struct Layout {
        Rect box, title, message;
        std::vector<Rect> buttons; // by button index
    };
    Layout layout() const;
    void makeButtons();
    std::vector<int> buttonOrderOnScreen() const;

    std::string title_, message_;
    Delegate delegate_;
    bool hasCancelButton_ = false;
    std::vector<std::string> buttonTitles_;
    std::vector<ButtonPtr> buttons_;
    Layout layout_;
};

using AlertViewPtr = std::shared_ptr<AlertView>;

} // namespace ui
