#pragma once
// A search bar: a rounded text field with a magnifier on a bar of the tint colour, and a "Cancel"
// button at its right end while `showsCancelButton` is on.
//
//     auto bar = ui::make<ui::SearchBar>(ui::Rect(0, 0, 264, 44));
//     bar->setDelegate(this);                     // a SearchBarDelegate that outlives the bar's use
//
// The delegate hears what the user does: typing (text did change, with the whole text), the field
// taking and giving up the focus (begin and end editing), "Return" on the keyboard (search button)
// and the cancel button. Setting the text from code tells nobody. `resignFirstResponder` closes the
// keyboard: the field gives up the focus, which ends editing.

#include "Platform/Button.h"
#include "Platform/SearchBarDelegate.h"
#include "Platform/TextField.h"
#include "Platform/View.h"

namespace ui {

class SearchBar : public View {
public:
    static constexpr Float cancelButtonWidth = 60;

    explicit SearchBar(const Rect& frame = {});

    const std::string& text() const { return field_->text(); }
    void setText(std::string text) { field_->setText(std::move(text)); }
    const std::string& placeholder() const { return field_->placeholder(); }
    void setPlaceholder(std::string placeholder) { field_->setPlaceholder(std::move(placeholder)); }
    bool showsCancelButton() const { return !cancelButton_->isHidden(); }
    void setShowsCancelButton(bool shows);
    const Color& tintColor() const { return tint_; }
    void setTintColor(const Color& color);
    // Not owned; null for none.
    void setDelegate(SearchBarDelegate* delegate) { delegate_ = delegate; }

    TextField& textField() const { return *field_; }
    Button& cancelButton() const { return *cancelButton_; }
    bool isEditing() const { return field_->isEditing(); }

    bool becomeFirstResponder() override { return field_->becomeFirstResponder(); }
    void resignFirstResponder() override { field_->resignFirstResponder(); }

    void draw(const DrawContext& context) override;
    int layerCount() const override { return 1; }
    std::string className() const override { return "SearchBar"; }

protected:
    void boundsSizeDidChange() override { layOut(); }

private:
    void layOut();
    void connectField();

    TextFieldPtr field_;
    ButtonPtr cancelButton_;
    Color tint_ = {0.43, 0.52, 0.62, 1};
    SearchBarDelegate* delegate_ = nullptr;
};

using SearchBarPtr = std::shared_ptr<SearchBar>;

} // namespace ui
