#pragma once
// Buttons: a title, a picture and a background picture per state, and actions on touch-up-inside.
//
//     auto button = ui::make<ui::Button>(ui::ButtonType::Custom, ui::Rect(37, 240, 80, 12));
//     button->setTitle("Atlas");
//     button->setTitleFont(ui::Font::boldSystem(12));
//     button->addAction([this](ui::Button* sender) { goTo(sender); });
//     view->addSubview(button);
//
// Values for the highlighted state (shown while a finger is down on the button) fall back to the
// normal state's. The picture is drawn at its own size, centred (left of the title when both are set);
// the background picture fills the bounds, stretched by its caps. A RoundedRect button draws a white
// rounded rectangle with a blue title, blue with a white title while pressed. A title set in a font of
// size 0 is not drawn but stays the button's title.

#include "Platform/Control.h"
#include "Platform/Image.h"

#include <map>
#include <memory>

namespace ui {

enum class ButtonType { Custom, RoundedRect };

class Button : public Control {
public:
    explicit Button(ButtonType type = ButtonType::Custom, const Rect& frame = {});

    ButtonType buttonType() const { return type_; }

    void setTitle(std::string title, ControlState state = ControlState::Normal);
    void setTitleColor(const Color& color, ControlState state = ControlState::Normal);
    void setImage(Image image, ControlState state = ControlState::Normal);
    void setBackgroundImage(Image image, ControlState state = ControlState::Normal);
    // The values set for exactly that state (no fallback); empty when unset.
    std::string title(ControlState state = ControlState::Normal) const;
    Image image(ControlState state = ControlState::Normal) const;
    Image backgroundImage(ControlState state = ControlState::Normal) const;

    // What the button shows in its current state.
    std::string currentTitle() const;
    Color currentTitleColor() const;
    Image currentImage() const;
    Image currentBackgroundImage() const;

    const Font& titleFont() const { return titleFont_; }
    void setTitleFont(const Font& font);
    // Darkens the picture while pressed when no highlighted picture is set (on by default).
    bool adjustsImageWhenHighlighted() const { return adjustsImageWhenHighlighted_; }
    void setAdjustsImageWhenHighlighted(bool adjusts) { adjustsImageWhenHighlighted_ = adjusts; }

    // Runs `action` on touch-up-inside with this button as sender.
    void addAction(std::function<void(Button* sender)> action);

    void draw(const DrawContext& context) override;
    int layerCount() const override;
    std::string className() const override { return "Button"; }
    void describe(ViewDescription& description) const override;

private:
    struct StateLook {
        std::optional<std::string> title;
        std::optional<Color> titleColor;
        std::optional<Image> image, backgroundImage;
    };
    template <class T> T lookFor(std::optional<T> StateLook::*field, const T& fallback) const;
    bool showsTitle() const;
    bool darkensImage() const;
    void drawRoundedRect(const DrawContext& context) const;
    void drawContent(const DrawContext& context) const;

    ButtonType type_;
    std::map<ControlState, StateLook> looks_;
    Font titleFont_ = Font::boldSystem(15);
    bool adjustsImageWhenHighlighted_ = true;
};

using ButtonPtr = std::shared_ptr<Button>;

} // namespace ui
