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
    content_.setBundleDirectory(bundle.empty() ? std::string(".") : bundle);
    content_.parseXMLFileAtFile(fileName);
}

void TorvexView::startloadingWithCallBackTarget(std::function<void(TorvexView*)> callback) {
    callbackFinish = std::move(callback);
    parseXMLFileAtFile("torvex.xml");
    content_.carve();
    allInfo = content_.allInfo.get();
    oldViewTorvex = "";
    content_.stack.clear();
    ofViews = {"Dorsal", "Plantar", "Superior", "Inferior", "Lateral", "Medial", "Posterior", "Anterior"};
    hotSpots_.addTo(*view());
    flagBubbles_.addTo(*view());
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

    bar_.addControls(scalpel);
    journey_.stopClimbing();
    bar_.addBackgroundSwitch();
    registerStateProviders();
    if (callbackFinish)
        callbackFinish(this);
}

// Panels, the bottom bar (its buttons and labels join later), the scalpel and the views strip, in the
// order in which they stack up in the view.
void TorvexView::createControls() {
    const auto& view = this->view();
    info_.addTo(*view);
    help_.addTo(*view);
    bar_.createBar(*view);

    ui::Image scalpelFace = ui::Bundle::main().image("scalpel.png");
    scalpel = ui::make<ui::Button>(ui::ButtonType::Custom, ui::Rect(ui::Point{}, scalpelFace.size()));
    scalpel->setIdentifier("scalpel");
    scalpel->setImage(scalpelFace);
    scalpel->setTitleFont(ui::Font::system(0));
    scalpel->addAction(whileAlive([this](ui::Button* sender) { enterToPart(sender); }));
    scalpel->setTransform(ui::AffineTransform::scale(0.75, 0.75));
    scalpel->setCenter({240, 75});
    scalpel->setHidden(true);
    views_.addTo(*view);

    center = secondImage->center();
    index_.addTo(*view);
}

HotSpots::Hooks TorvexView::hotSpotsHooks() {
    return {[this] { return viewRing().hintArrows(); }};
}

FlagBubbles::Hooks TorvexView::flagBubblesHooks() {
    FlagBubbles::Hooks hooks;
    hooks.quietRings = [this] { hotSpots_.quiet(); };
    hooks.hideInfo = [this] { info_.hideInfo(); };
    hooks.closeOtherPanels = [this] {
        index_.hideIndex();
        views_.hideViews();
        help_.hideHelp();
    };
    hooks.currentView = [this]() -> const TreeNode* { return currentViewNamed(viewTorvex); };
    hooks.allInfo = [this]() -> const TreeNode* { return allInfo; };
    hooks.designPlace = [](const TreeNode& point) {
        return ui::Point{number(point, "x"), number(point, "y")};
    };
    hooks.displayedImage = [this] { return displayedImage(); };
    hooks.isMagnified = [this] { return isMagnified(); };
    hooks.showButtonPressed = [this](bool pressed) { bar_.showPressed(Bar::Flags, pressed); };
    hooks.showMagnifier = [this](bool shown) { bar_.show(Bar::Magnifier, shown); };
    hooks.showScalpel = [this](bool shown) {
        if (scalpel && (!shown || scalpel->currentTitle().find("- L") != std::string::npos))
            scalpel->setHidden(!shown);
    };
    hooks.makeFlag = [this](const std::string& title, float x, float y) {
        return imageButton(title, FlagButton, x, y, "flag");
    };
    hooks.makeInfoButton = [this](const std::string& description, float x, float y) {
        return imageButton(description, InfoHintButton, x, y, "infoButton");
    };
    hooks.enableTouches = [this] { view()->setUserInteractionEnabled(true); };
    hooks.quiz = [this]() -> Quiz& { return quiz_; };
    return hooks;
}

HelpPanel::Hooks TorvexView::helpHooks() {
    return {[this] {
                views_.hideViews();
                info_.hideInfo();
                index_.hideIndex();
            },
            [this](bool pressed) { bar_.showPressed(Bar::Help, pressed); },
            [this] { return static_cast<const TreeNode*>(root); }};
}

InfoPanel::Hooks TorvexView::infoHooks() {
    InfoPanel::Hooks hooks;
    hooks.quietRings = [this] { hotSpots_.quiet(); };
    hooks.closeOtherPanels = [this] {
        views_.hideViews();
        index_.hideIndex();
        help_.hideHelp();
    };
    hooks.putFlagsAway = [this] { flagBubbles_.putFlagsAway(); };
    hooks.showRegionButtons = [this](bool shown) { hotSpots_.showRegionButtons(shown); };
    hooks.showButtonPressed = [this](bool pressed) { bar_.showPressed(Bar::Info, pressed); };
    hooks.shownBubble = [this] { return flagBubbles_.shownBubble(); };
    hooks.restoreBubbleTitle = [this] { flagBubbles_.restoreBubbleTitle(); };
    hooks.bringBubbleNamesToFront = [this] { flagBubbles_.bringBubbleNamesToFront(); };
    hooks.fadeBubble = [this] { flagBubbles_.fadeBubble(); };
    return hooks;
}

IndexPanel::Hooks TorvexView::indexHooks() {
    IndexPanel::Hooks hooks;
    hooks.quietRings = [this] { hotSpots_.quiet(); };
    hooks.journeyUnderWay = [this] { return !journey_.enterArray().empty(); };
    hooks.closeOtherPanels = [this] {
        views_.hideViews();
        info_.hideInfo();
        help_.hideHelp();
    };
    hooks.quizAsksToLeave = [this] {
        if (!quiz_.inQuiz())
            return false;
        quiz_.alertOKCancelAction(true);
        return true;
    };
    hooks.showButtonPressed = [this](bool pressed) { bar_.showPressed(Bar::Index, pressed); };
    hooks.goToPart = [this](const std::string& term) { goToPart(term); };
    return hooks;
}

Quiz::Hooks TorvexView::quizHooks() {
    Quiz::Hooks hooks;
    hooks.closeOtherPanels = [this] {
        views_.hideViews();
        info_.hideInfo();
        index_.hideIndex();
        help_.hideHelp();
    };
    hooks.showButtonPressed = [this](bool pressed) { bar_.showPressed(Bar::Quiz, pressed); };
    hooks.areaNamed = [this](const std::string& name) -> const TreeNode* {
        return indexDictionary.find(name);
    };
    hooks.infoOfPoint = [this](const std::string& infoId, int titleOrDesc) {
        return flagBubbles_.getInfoOfPoint(infoId, titleOrDesc);
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

Bar::Hooks TorvexView::barHooks() {
    Bar::Hooks hooks;
    hooks.makeButton = [this](const std::string& name, ui::Point center) {
        return imageButton(name, BarButton, static_cast<float>(center.x), static_cast<float>(center.y), name);
    };
    hooks.displayViews = [this] { views_.displayViews(); };
    hooks.displayInfo = [this] { info_.displayInfoClickOfButton(); };
    hooks.displayFlags = [this] { flagBubbles_.displayFlags(); };
    hooks.displayQuiz = [this] { quiz_.displayQuiz(); };
    hooks.displayHelp = [this] { help_.displayHelp(); };
    hooks.displayIndex = [this] { index_.displayIndex(); };
    hooks.zoomOnOff = [this] { zoomOnOff(); };
    hooks.back = [this] { back(); };
    return hooks;
}

ViewsChooser::Hooks TorvexView::viewsHooks() {
    ViewsChooser::Hooks hooks;
    hooks.quietRings = [this] { hotSpots_.quiet(); };
    hooks.closeOtherPanels = [this] {
        index_.hideIndex();
        info_.hideInfo();
        help_.hideHelp();
    };
    hooks.showButtonPressed = [this](bool pressed) { bar_.showPressed(Bar::Views, pressed); };
    hooks.plainViews = [this]() -> const PlainViews& { return imageViews_; };
    hooks.makeThumbnail = [this](const std::string& name, float x) {
        return imageButton(name, ViewButton, x, 82, name);
    };
    return hooks;
}
