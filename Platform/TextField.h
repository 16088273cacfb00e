#pragma once
// A one-line text field that takes typed text from the window's keyboard while it has the focus.
//
//     auto field = ui::make<ui::TextField>(ui::Rect(10, 10, 200, 31));
//     field->onTextChange = [](ui::TextField&, const std::string& text) { filter(text); };
//     field->onReturn = [](ui::TextField& f) { f.resignFirstResponder(); };
//
// A tap gives the field the focus (it becomes the first responder, and editing begins); text typed then
// is appended, "BackSpace" removes the last character, "Return" calls `onReturn`, "Escape" gives the
// focus up, as closing the keyboard does. Editing ends when the field resigns the focus, also when
// another field takes it or the field leaves the screen. Each change made by typing calls
// `onTextChange`; `setText` from code calls nothing.

#include "Platform/Control.h"
#include "Platform/Image.h"

#include <functional>
#include <string>

namespace ui {

class TextField : public Control {
public:
    explicit TextField(const Rect& frame = {});

    const std::string& text() const { return text_; }
    void setText(std::string text);
    // Grey text shown while the field is empty.
    const std::string& placeholder() const { return placeholder_; }
    void setPlaceholder(std::string placeholder);
    const Font& font() const { return font_; }
    void setFont(const Font& font);
    const Color& textColor() const { return textColor_; }
    void setTextColor(const Color& color);
    Float cornerRadius() const { return cornerRadius_; }
    void setCornerRadius(Float radius);
    // A picture at the left end of the field (a search bar's magnifier); the text starts after it.
    const Image& leftImage() const { return leftImage_; }
    void setLeftImage(Image image);

    bool isEditing() const { return isFirstResponder(); }

    std::function<void(TextField&)> onBeginEditing, onEndEditing, onReturn;
    std::function<void(TextField&, const std::string& text)> onTextChange;

    bool canBecomeFirstResponder() const override { return true; }
    bool becomeFirstResponder() override;
    void resignFirstResponder() override;
    void insertText(const std::string& text) override;
    void pressKey(const std::string& name) override;

    void draw(const DrawContext& context) override;
    int layerCount() const override { return 2; } // the field and its text
    std::string className() const override { return "TextField"; }
    void describe(ViewDescription& description) const override { description.text = text_; }

private:
    Rect textArea() const;
    void changeTextByTyping(std::string text);

    std::string text_, placeholder_;
    Font font_ = Font::system(14);
    Color textColor_ = Color::black();
    Float cornerRadius_ = 5;
    Image leftImage_;
};

using TextFieldPtr = std::shared_ptr<TextField>;

} // namespace ui
