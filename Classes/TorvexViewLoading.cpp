// Construction and loading of the viewer: the data file, the controls and panels in their stacking
// order, and the first region.
#include "TorvexView.h"

#include "ForInfo.h"
#include "Platform/Application.h"
#include "Platform/Bundle.h"
#include "Platform/Button.h"
#include "Platform/ImageView.h"
#include "Platform/Label.h"
#include "Platform/ScrollView.h"

#include <algorithm>
#include <memory>
#include <nlohmann/json.hpp>

namespace {

const ui::Color kTitleYellow = ui::Color::rgb255(226, 234, 123);

} // namespace

TorvexView::TorvexView() = default;

TorvexView::~TorvexView() {
    if (isViewLoaded())
        view()->removeFromSuperview();
}

// The view holds only the two picture views; every control is made by loading.
void TorvexView::loadView() {
    auto view = ui::make<ui::View>(ui::Rect(0, 0, 320, 480));
    view->setIdentifier("TorvexView");
    for (auto* field : {&firstImage, &secondImage}) {
        *field = ui::make<ui::ImageView>(ui::Rect(0, 30, 320, 420));
        (*field)->setContentMode(ui::ContentMode::ScaleToFill);
        (*field)->setUserInteractionEnabled(true);
        view->addSubview(*field);
    }
    firstImage->setIdentifier("firstImage");
    secondImage->setIdentifier("secondImage");
    setView(std::move(view));
}

void TorvexView::parseXMLFileAtFile(const std::string& fileName) {
    const std::string& bundle = ui::Bundle::main().resourcePath();
    content.setBundleDirectory(bundle.empty() ? std::string(".") : bundle);
    content.parseXMLFileAtFile(fileName);
}

void TorvexView::startloadingWithCallBackTarget(std::function<void(TorvexView*)> callback) {
    callbackFinish = std::move(callback);
    parseXMLFileAtFile("torvex.xml");
    content.carve();
    allInfo = content.allInfo.get();
    oldViewTorvex = "";
    content.stack.clear();
    ofViews = {"Dorsal", "Plantar", "Superior", "Inferior", "Lateral", "Medial", "Posterior", "Anterior"};
    hotSpots_.addTo(*view());
    for (int n = 1; n <= 4; ++n)
        hotSpots_.createHotArrow(n);
    createArrow();
    hotSpots_.startPulseTimer();
    createControls();
    index_.buildIndexLists(indexDictionary, allInfo);
    index_.createIndexList();
    ui::Application::shared().addStateProvider("Questions", [alive = std::weak_ptr<const int>(lifetime_),
                                                             this]() {
        return alive.expired() ? nlohmann::ordered_json(nullptr) : nlohmann::ordered_json(quiz_.Questions());
    });
    cleanButtons();
    refresh();
    std::vector<std::string> areas;
    for (const auto& button : hotSpots_.buttons())
        areas.push_back(button->currentTitle());
    quiz_.createQuizPanels(*view(), std::move(areas));

    const auto& view = this->view();
    for (const auto& control : std::initializer_list<std::shared_ptr<ui::View>>{
             helpButton, quizButton, infoButton, typeViewButton, flagButton, buttonForIndex, backButton,
             titleBackButton, labelTitle, scalpel, zoomButton})
        view->addSubview(control);
    typeViewButton->setHidden(false);
    showBackControls(false);
    journey_.stopClimbing();
    if (displayCBCButton) {
        ui::Image face =
            ui::Bundle::main().image(blackBackground ? "whiteButton" : "blackButton", "png", "Buttons");
        CBCButton = ui::make<ui::Button>(ui::ButtonType::Custom, ui::Rect(ui::Point{6, 30}, face.size()));
        CBCButton->setIdentifier("CBCButton");
        CBCButton->setImage(face);
        CBCButton->addAction(whileAlive([this](ui::Button* sender) { changeBackgroundColor(sender); }));
        view->addSubview(CBCButton);
    }
    view->setBackgroundColor(blackBackground ? ui::Color::black() : ui::Color::white());
    view->addSubview(typeViewButton);
    registerStateProviders();
    if (callbackFinish)
        callbackFinish(this);
}

// Panels, the bottom bar, the scalpel, the bar buttons, the labels and the views strip, in the order in
// which they stack up in the view.
void TorvexView::createControls() {
    const auto& view = this->view();
    info_.addTo(*view);
    help_.addTo(*view);

    bottomBar = ui::make<ui::View>(ui::Rect(0, 450, 320, 45));
    bottomBar->setIdentifier("bottomBar");
    bottomBar->setBackgroundColor(ui::Color::black());
    view->addSubview(bottomBar);

    ui::Image scalpelFace = ui::Bundle::main().image("scalpel.png");
    scalpel = ui::make<ui::Button>(ui::ButtonType::Custom, ui::Rect(ui::Point{}, scalpelFace.size()));
    scalpel->setIdentifier("scalpel");
    scalpel->setImage(scalpelFace);
    scalpel->setTitleFont(ui::Font::system(0));
    scalpel->addAction(whileAlive([this](ui::Button* sender) { enterToPart(sender); }));
    scalpel->setTransform(ui::AffineTransform::scale(0.75, 0.75));
    scalpel->setCenter({240, 75});
    scalpel->setHidden(true);

    createBarButtons();
    createLabels();

    typeViews = ui::make<ui::ScrollView>(ui::Rect(-400, 300, 320, 150));
    typeViews->setIdentifier("typeViews");
    typeViews->setAlpha(0.8);
    typeViews->setBackgroundColor(ui::Color::black());
    updateViewButtons(imageViews_, true);
    view->addSubview(typeViews);

    center = secondImage->center();
    index_.addTo(*view);
}

TorvexView::ButtonPtr TorvexView::barButton(const std::string& field, const std::string& name,
                                            ui::Point center, std::function<void()> action) {
    ButtonPtr button =
        imageButton(name, BarButton, static_cast<float>(center.x), static_cast<float>(center.y), name);
    button->setIdentifier(field);
    button->addAction(whileAlive([action = std::move(action)](ui::Button*) { action(); }));
    button->setAlpha(1);
    return button;
}

void TorvexView::createBarButtons() {
    infoButton = barButton("infoButton", "info", {94, 465}, [this] { info_.displayInfoClickOfButton(); });
    quizButton = barButton("quizButton", "quiz", {235, 465}, [this] { quiz_.displayQuiz(); });
    quizButton->setHidden(false);
    helpButton = barButton("helpButton", "help", {290, 465}, [this] { help_.displayHelp(); });
    helpButton->setHidden(false);
    flagButton = barButton("flagButton", "flag", {167, 465}, [this] { displayFlags(); });
    typeViewButton = barButton("typeViewButton", "views", {34, 465}, [this] { displayViews(); });
    typeViewButton->setHidden(false);
    zoomButton = barButton("zoomButton", "mag", {295, 70}, [this] { zoomOnOff(); });
    backButton = barButton("backButton", "back_button", {43, 15}, [this] { back(); });
    backButton->setHidden(false);
    buttonForIndex = barButton("buttonForIndex", "index", {290, 15}, [this] { index_.displayIndex(); });
    buttonForIndex->setHidden(false);
}

void TorvexView::createLabels() {
    auto makeLabel = [](const char* field, const ui::Rect& frame, float fontSize, const ui::Color& background,
                        const ui::Color& textColor) {
        auto label = ui::make<ui::Label>(frame);
        label->setIdentifier(field);
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

HotSpots::Hooks TorvexView::hotSpotsHooks() {
    return {[this] { return viewRing().hintArrows(); }};
}

HelpPanel::Hooks TorvexView::helpHooks() {
    return {[this] {
                hideViews();
                info_.hideInfo();
                index_.hideIndex();
            },
            [this](bool pressed) { changeImageOnButton(helpButton.get(), pressed); },
            [this] { return static_cast<const TreeNode*>(root); }};
}

InfoPanel::Hooks TorvexView::infoHooks() {
    InfoPanel::Hooks hooks;
    hooks.quietRings = [this] { hotSpots_.quiet(); };
    hooks.closeOtherPanels = [this] {
        hideViews();
        index_.hideIndex();
        help_.hideHelp();
    };
    hooks.putFlagsAway = [this] {
        for (const auto& flag : flags)
            flag->setHidden(true);
        changeImageOnButton(flagButton.get(), false);
        flagsIsHidden = true;
        if (zoomButton)
            zoomButton->setHidden(true);
    };
    hooks.showRegionButtons = [this](bool shown) { hotSpots_.showRegionButtons(shown); };
    hooks.showButtonPressed = [this](bool pressed) { changeImageOnButton(infoButton.get(), pressed); };
    hooks.shownBubble = [this]() -> ui::View* { return isBubbleShown() ? hintOfFlag.get() : nullptr; };
    hooks.restoreBubbleTitle = [this] {
        if (isBubbleShown() && tempNameSet)
            restoreBubbleTitle();
    };
    hooks.bringBubbleNamesToFront = [this] {
        for (const auto* label : {labelForFlagLatin.get(), labelForFlag.get()}) {
            if (label && label->superview())
                label->superview()->bringSubviewToFront(label);
        }
    };
    hooks.fadeBubble = [this] {
        if (!isBubbleShown())
            return;
        for (ui::View* part : std::initializer_list<ui::View*>{labelForFlagLatin.get(), labelForFlag.get(),
                                                               hintOfFlag.get(), infoButtonOfHint.get()}) {
            if (part)
                part->setAlpha(0);
        }
    };
    return hooks;
}

IndexPanel::Hooks TorvexView::indexHooks() {
    IndexPanel::Hooks hooks;
    hooks.quietRings = [this] { hotSpots_.quiet(); };
    hooks.journeyUnderWay = [this] { return !journey_.enterArray().empty(); };
    hooks.closeOtherPanels = [this] {
        hideViews();
        info_.hideInfo();
        help_.hideHelp();
    };
    hooks.quizAsksToLeave = [this] {
        if (!quiz_.inQuiz())
            return false;
        quiz_.alertOKCancelAction(true);
        return true;
    };
    hooks.showButtonPressed = [this](bool pressed) { changeImageOnButton(buttonForIndex.get(), pressed); };
    hooks.goToPart = [this](const std::string& term) { goToPart(term); };
    return hooks;
}

Quiz::Hooks TorvexView::quizHooks() {
    Quiz::Hooks hooks;
    hooks.closeOtherPanels = [this] {
        hideViews();
        info_.hideInfo();
        index_.hideIndex();
        help_.hideHelp();
    };
    hooks.showButtonPressed = [this](bool pressed) { changeImageOnButton(quizButton.get(), pressed); };
    hooks.areaNamed = [this](const std::string& name) -> const TreeNode* {
        return indexDictionary.find(name);
    };
    hooks.infoOfPoint = [this](const std::string& infoId, int titleOrDesc) {
        return getInfoOfPoint(infoId, titleOrDesc);
    };
    hooks.backToStart = [this] { backToStart(); };
    hooks.goToPart = [this](const std::string& term) { goToPart(term); };
    hooks.displayIndex = [this] { index_.displayIndex(); };
    hooks.redrawView = [this] {
        cleanView();
        if (const TreeNode* current = currentViewNamed(viewTorvex))
            updateView(current->children);
    };
    hooks.forgetTouch = [this] { touchBegan = {0, 0}; };
    return hooks;
}
