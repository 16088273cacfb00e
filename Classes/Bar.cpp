// The bar's controls, their stacking order, their looks and the background switch.
#include "Bar.h"

#include "Platform/Bundle.h"
#include "Platform/Button.h"
#include "Platform/Label.h"

#include <initializer_list>

namespace {

// The title line's pale yellow reads on black only; on white it takes a dark olive of its hue.
const ui::Color kTitleYellow = ui::Color::rgb255(226, 234, 123);
const ui::Color kTitleOlive = ui::Color::rgb255(92, 96, 30);

ui::Image backgroundSwitchFace(bool blackBackground) {
    return ui::Bundle::main().image(blackBackground ? "whiteButton" : "blackButton", "png", "Buttons");
}

} // namespace

Bar::Bar(Hooks hooks) : hooks_(std::move(hooks)) {}

Bar::~Bar() = default;

void Bar::createBar(ui::View& host) {
    host_ = &host;
    bottomBar = ui::make<ui::View>(ui::Rect(0, 450, 320, 45));
    bottomBar->setIdentifier("bottomBar");
    bottomBar->setBackgroundColor(ui::Color::black());
    host.addSubview(bottomBar);

    infoButton = barButton("infoButton", "info", {94, 465}, hooks_.displayInfo);
    quizButton = barButton("quizButton", "quiz", {235, 465}, hooks_.displayQuiz);
    quizButton->setHidden(false);
    helpButton = barButton("helpButton", "help", {290, 465}, hooks_.displayHelp);
    helpButton->setHidden(false);
    flagButton = barButton("flagButton", "flag", {167, 465}, hooks_.displayFlags);
    typeViewButton = barButton("typeViewButton", "views", {34, 465}, hooks_.displayViews);
    typeViewButton->setHidden(false);
    zoomButton = barButton("zoomButton", "mag", {295, 70}, hooks_.zoomOnOff);
    backButton = barButton("backButton", "back_button", {43, 15}, hooks_.back);
    backButton->setHidden(false);
    buttonForIndex = barButton("buttonForIndex", "index", {290, 15}, hooks_.displayIndex);
    buttonForIndex->setHidden(false);
    createLabels();
}

Bar::ButtonPtr Bar::barButton(const std::string& identifier, const std::string& name, ui::Point center,
                              const std::function<void()>& action) {
    ButtonPtr button = hooks_.makeButton(name, center);
    button->setIdentifier(identifier);
    button->addAction(lifetime_.guard([action](ui::Button*) {
        if (action)
            action();
    }));
    button->setAlpha(1);
    return button;
}

void Bar::createLabels() {
    auto makeLabel = [](const char* identifier, const ui::Rect& frame, float fontSize,
                        const ui::Color& background, const ui::Color& textColor) {
        auto label = ui::make<ui::Label>(frame);
        label->setIdentifier(identifier);
        label->setFont(label->font().withSize(fontSize));
        label->setTextAlignment(ui::TextAlignment::Center);
        label->setBackgroundColor(background);
        label->setTextColor(textColor);
        return label;
    };
    labelTitle = makeLabel("labelTitle", {15, 5, 310, 20}, 12, ui::Color::clear(), kTitleYellow);
    titleBackButton =
        makeLabel("titleBackButton", {14, 8, 68, 14}, 12, ui::Color::black(), ui::Color::white());
    zoomLabel = makeLabel("zoomLabel", {0, 450, 320, 30}, 16, ui::Color::black(), ui::Color::white());
    zoomLabel->setText("You are in Magnification mode");
}

void Bar::addControls(const std::shared_ptr<ui::View>& scalpel) {
    for (const auto& control : std::initializer_list<std::shared_ptr<ui::View>>{
             helpButton, quizButton, infoButton, typeViewButton, flagButton, buttonForIndex, backButton,
             titleBackButton, labelTitle, scalpel, zoomButton})
        host_->addSubview(control);
    typeViewButton->setHidden(false);
    showBackControls(false);
}

void Bar::addBackgroundSwitch() {
    if (displayCBCButton) {
        ui::Image face = backgroundSwitchFace(blackBackground_);
        CBCButton = ui::make<ui::Button>(ui::ButtonType::Custom, ui::Rect(ui::Point{6, 30}, face.size()));
        CBCButton->setIdentifier("CBCButton");
        CBCButton->setImage(face);
        CBCButton->addAction(lifetime_.guard([this](ui::Button* sender) { changeBackgroundColor(sender); }));
        host_->addSubview(CBCButton);
    }
    host_->setBackgroundColor(blackBackground_ ? ui::Color::black() : ui::Color::white());
    host_->addSubview(typeViewButton);
}

void Bar::changeImageOnButton(ui::Button* button, bool pressed) {
    if (!button)
        return;
    std::string name = button->currentTitle() + (pressed ? " pressed" : "");
    button->setImage(ui::Bundle::main().image(name, "png", "Buttons"));
}

void Bar::showPressed(Item item, bool pressed) {
    changeImageOnButton(button(item), pressed);
}

void Bar::changeBackgroundColor(ui::Button* sender) {
    blackBackground_ = !blackBackground_;
    if (sender)
        sender->setImage(backgroundSwitchFace(blackBackground_));
    host_->setBackgroundColor(blackBackground_ ? ui::Color::black() : ui::Color::white());
    if (labelTitle)
        labelTitle->setTextColor(blackBackground_ ? kTitleYellow : kTitleOlive);
}

void Bar::show(Item item, bool shown) {
    if (ui::Button* control = button(item))
        control->setHidden(!shown);
}

void Bar::setTitle(const std::string& title) {
    labelTitle->setText(title);
}

void Bar::setBackCaption(const std::string& caption) {
    titleBackButton->setText(caption);
    backButton->setTitle(caption);
}

void Bar::showBackControls(bool shown) {
    backButton->setHidden(!shown);
    titleBackButton->setHidden(!shown);
}

void Bar::enterMagnification() {
    for (const auto& control : {typeViewButton, quizButton, helpButton, flagButton, infoButton, zoomButton})
        control->setHidden(true);
    titleBackButton->setText("BACK");
    buttonForIndex->setHidden(true);
}

void Bar::showMagnificationNotice() {
    host_->addSubview(zoomLabel);
}

void Bar::leaveMagnification() {
    zoomButton->setHidden(false);
    zoomLabel->removeFromSuperview();
}

void Bar::restoreAfterMagnification() {
    for (const auto& control : {typeViewButton, quizButton, helpButton, buttonForIndex})
        control->setHidden(false);
    titleBackButton->setText(backButton->currentTitle());
}

ui::Button* Bar::button(Item item) const {
    switch (item) {
    case Views:
        return typeViewButton.get();
    case Info:
        return infoButton.get();
    case Flags:
        return flagButton.get();
    case Quiz:
        return quizButton.get();
    case Help:
        return helpButton.get();
    case Index:
        return buttonForIndex.get();
    case Magnifier:
        return zoomButton.get();
    case Back:
        return backButton.get();
    case BackgroundSwitch:
        return CBCButton.get();
    }
    return nullptr;
}
