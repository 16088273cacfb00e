#pragma once
// The bar: the buttons along the bottom (views, info, flags, quiz, help) and along the top (back,
// index), the magnifier, the background switch, the title line, the back caption and the notice of
// magnification mode. The part owns the controls, their pressed looks and the background colour; what
// a button does is the viewer's, handed over as hooks.
//
// A button's title names its pictures ("info.png" and "info pressed.png" in the bundle's Buttons
// folder); the pressed picture shows while its panel is open.

#include <functional>
#include <memory>
#include <string>

#include "Classes/Lifetime.h"
#include "Platform/Geometry.h"

namespace ui {
class Button;
class Label;
class View;
} // namespace ui

class Bar {
public:
    using ButtonPtr = std::shared_ptr<ui::Button>;
    enum Item { Views, Info, Flags, Quiz, Help, Index, Magnifier, Back, BackgroundSwitch };

    struct Hooks {
        // A bar button showing the pictures named `name`, centred on `center`, hidden and clear.
        std::function<ButtonPtr(const std::string& name, ui::Point center)> makeButton;
        std::function<void()> displayViews, displayInfo, displayFlags, displayQuiz, displayHelp, displayIndex;
        std::function<void()> zoomOnOff, back;
    };

    explicit Bar(Hooks hooks);
    ~Bar();

    // Loading, in the stacking order of `host` (the viewer's view): the black strip along the bottom
    // joins it, and the buttons and labels are made.
    void createBar(ui::View& host);
    // The buttons and labels join `host`; the scalpel stacks between the title and the magnifier.
    void addControls(const std::shared_ptr<ui::View>& scalpel);
    // Last: the background switch, the background colour, and the views button on top of everything.
    void addBackgroundSwitch();

    // A bar button shows its picture, or its pressed picture.
    static void changeImageOnButton(ui::Button* button, bool pressed);
    void showPressed(Item item, bool pressed);
    // The background switch's action: black and white swap; the switch shows the colour it would
    // change to.
    void changeBackgroundColor(ui::Button* sender);
    void show(Item item, bool shown);

    void setTitle(const std::string& title);
    // The back button's title and the caption over it name the region above.
    void setBackCaption(const std::string& caption);
    void showBackControls(bool shown);

    // Magnification mode: the bar buttons give way to the notice and the back caption reads "BACK";
    // leaving it brings the magnifier back and takes the notice away, and going back brings the
    // rest back with the region's caption.
    void enterMagnification();
    void showMagnificationNotice();
    void leaveMagnification();
    void restoreAfterMagnification();

    ui::Button* button(Item item) const;
    ui::Label* title() const { return labelTitle.get(); }
    ui::Label* backCaption() const { return titleBackButton.get(); }
    ui::Label* magnificationNotice() const { return zoomLabel.get(); }
    bool blackBackground() const { return blackBackground_; }

private:
    ButtonPtr barButton(const std::string& identifier, const std::string& name, ui::Point center,
                        const std::function<void()>& action);
    void createLabels();

    Hooks hooks_;
    ui::View* host_ = nullptr;
    std::shared_ptr<ui::View> bottomBar;
    ButtonPtr infoButton, flagButton, typeViewButton, quizButton, helpButton, buttonForIndex, zoomButton;
    ButtonPtr backButton, CBCButton;
    std::shared_ptr<ui::Label> labelTitle, titleBackButton, zoomLabel;
    bool displayCBCButton = true;
    bool blackBackground_ = true;
    Lifetime lifetime_;
};
