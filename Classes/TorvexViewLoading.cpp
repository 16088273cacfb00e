// Construction and loading of the viewer, its shared values, the index lists and the helpers that all
// its subsystems use.
#include "TorvexView.h"

#include "ForInfo.h"
#include "Platform/Application.h"
#include "Platform/Bundle.h"
#include "Platform/Button.h"
#include "Platform/ImageView.h"
#include "Platform/Label.h"
#include "Platform/ScrollView.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <unicode/coll.h>
#include <unicode/locid.h>
#include <unicode/unistr.h>

namespace {

const ui::Color kTitleYellow = ui::Color::rgb255(226, 234, 123);

// The language whose order the term lists take: the user's (LC_ALL, LC_COLLATE, LANG, as the C
// library reads them), English when none is set or it is the plain "C" one.
std::string collationLanguage() {
    for (const char* variable : {"LC_ALL", "LC_COLLATE", "LANG"}) {
        const char* value = std::getenv(variable);
        if (!value || !*value)
            continue;
        std::string name(value);
        name = name.substr(0, name.find_first_of(".@"));
        if (name == "C" || name == "POSIX")
            break;
        return name;
    }
    return "en";
}

// Compares by letters and accents, not by case, in the user's language, the same on every machine
// whatever locales it has installed. A language the collation data lacks falls back to the root order,
// which is English's.
const icu::Collator& termCollator() {
    static const std::unique_ptr<icu::Collator> collator = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::Collator> made(
            icu::Collator::createInstance(icu::Locale::createCanonical(collationLanguage().c_str()), status));
        if (U_FAILURE(status) || !made) {
            status = U_ZERO_ERROR;
            made.reset(icu::Collator::createInstance(icu::Locale::getEnglish(), status));
        }
        made->setStrength(icu::Collator::SECONDARY);
        return made;
    }();
    return *collator;
}

// The key whose plain byte order is the collator's order.
std::string sortKey(const std::string& term) {
    icu::UnicodeString text = icu::UnicodeString::fromUTF8(term);
    const icu::Collator& collator = termCollator();
    std::string key(static_cast<std::size_t>(collator.getSortKey(text, nullptr, 0)), '\0');
    collator.getSortKey(text, reinterpret_cast<uint8_t*>(key.data()), static_cast<int32_t>(key.size()));
    return key;
}

bool containsText(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

std::string enterArrayEntry(const TreeNode& node) {
    std::string_view name = node.key == "point" ? node.attribute("infoid") : node.getHeader();
    return std::string(node.key.view()) + ":" + std::string(name);
}

} // namespace

const std::string TorvexView::textForHelp1 =
    "Press on the 3D image to zoom in to a particular section or region.  Press outside the 3D image on "
    "screen to see the zoom areas indicated by the red rings.  \n\n\n"
    "Drag your fingers across the screen to rotate the 3D image.  Press outside the 3D image to see the "
    "rotation options indicated by blue arrows. To rotate, pull an arrow across the screen. \n\n\n"
    "Press            for a number of different view options.";

const std::string TorvexView::textForHelp2 =
    "Press on the 3D image to zoom in to a particular section or region.  Press outside the 3D image on "
    "screen to see the zoom areas indicated by the red rings.  \n\n\n"
    "Drag your fingers across the screen to rotate the 3D image.  Press outside the 3D image to see the "
    "rotation options indicated by blue arrows. To rotate, pull an arrow across the screen. \n\n\n"
    "Press Views  for a number of different view options. \n\n\n"
    "Press Info   to access a scrollable window with topic information. \n\n\n"
    "Press     on the menu bar to view identification flags on the 3D image.  Press on these flags to "
    "access labels.   If there is an  \u201Ci\u201D     icon, press to access additional information.";

TorvexView::TorvexView() = default;

TorvexView::~TorvexView() {
    if (timerForHotSpot)
        timerForHotSpot->invalidate();
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
    indexWidth = 280;
    indexHeight = 380;
    callbackFinish = std::move(callback);
    parseXMLFileAtFile("torvex.xml");
    content.carve();
    allInfo = content.allInfo.get();
    lang = "eng";
    oldViewTorvex = "";
    content.stack.clear();
    ofViews = {"Dorsal", "Plantar", "Superior", "Inferior", "Lateral", "Medial", "Posterior", "Anterior"};
    for (int n = 1; n <= 4; ++n)
        createHotArrow(n);
    createArrow();
    if (!timerForHotSpot)
        timerForHotSpot =
            ui::Timer::scheduled(0.85, ui::Timer::Repeats::Yes, whileAlive([this] { hotSpotAnimation(); }));
    createControls();
    buildIndexLists();
    createIndexList();
    cleanButtons();
    refresh();
    createQuizPanels();

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
    Info = ui::make<ForInfo>();
    Info->setIdentifier("Info");
    Info->setAlpha(0);
    view->insertSubview(Info, 5);
    for (auto [field, name] : {std::pair{&helpView1, "helpView1"}, std::pair{&helpView2, "helpView2"}}) {
        *field = ui::make<ForInfo>(ui::Rect(15, 29, 300, 428));
        (*field)->setIdentifier(name);
        (*field)->textViewForInfo()->setText(textForHelp1);
        (*field)->setAlpha(0);
        view->addSubview(*field);
    }

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

    forInfo = ui::make<ForInfo>();
    forInfo->setIdentifier("forInfo");
    forInfo->setAlpha(0);
    center = secondImage->center();
    ui::Rect area = view->frame();
    indexView = ui::make<ForInfo>(ui::Rect(area.width() + indexWidth, 35, indexWidth, 0.8 * area.height()));
    indexView->setIdentifier("indexView");
}

TorvexView::ButtonPtr TorvexView::barButton(const std::string& field, const std::string& name,
                                            ui::Point center, void (TorvexView::*action)()) {
    ButtonPtr button =
        imageButton(name, BarButton, static_cast<float>(center.x), static_cast<float>(center.y), name);
    button->setIdentifier(field);
    button->addAction(whileAlive([this, action](ui::Button*) { (this->*action)(); }));
    button->setAlpha(1);
    return button;
}

void TorvexView::createBarButtons() {
    infoButton = barButton("infoButton", "info", {94, 465}, &TorvexView::displayInfoClickOfButton);
    quizButton = barButton("quizButton", "quiz", {235, 465}, &TorvexView::displayQuiz);
    quizButton->setHidden(false);
    helpButton = barButton("helpButton", "help", {290, 465}, &TorvexView::displayHelp);
    helpButton->setHidden(false);
    flagButton = barButton("flagButton", "flag", {167, 465}, &TorvexView::displayFlags);
    typeViewButton = barButton("typeViewButton", "views", {34, 465}, &TorvexView::displayViews);
    typeViewButton->setHidden(false);
    zoomButton = barButton("zoomButton", "mag", {295, 70}, &TorvexView::zoomOnOff);
    backButton = barButton("backButton", "back_button", {43, 15}, &TorvexView::back);
    backButton->setHidden(false);
    buttonForIndex = barButton("buttonForIndex", "index", {290, 15}, &TorvexView::displayIndex);
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

void TorvexView::createQuizPanels() {
    float height = 35.0f * static_cast<float>(buttons.size()) + 100;
    viewForQuiz = ui::make<ForInfo>(ui::Rect(400, 480 - height - 30, 300, height));
    viewForQuiz->setIdentifier("viewForQuiz");
    forQuestion = ui::make<ForInfo>(ui::Rect(400, 335, 300, 120));
    forQuestion->setIdentifier("forQuestion");
    forQuestion->setCenter(viewForQuiz->center());

    auto makeLabel = [](const char* field, const ui::Rect& frame, const ui::Color& textColor) {
        auto label = ui::make<ui::Label>(frame);
        label->setIdentifier(field);
        label->setFont(label->font().withSize(13));
        label->setBackgroundColor(ui::Color::clear());
        label->setTextColor(textColor);
        return label;
    };
    labelForQuestion = makeLabel("labelForQuestion", {10, 30, 240, 40}, ui::Color::white());
    labelForQuestion->setNumberOfLines(2);
    labelForQuestionLatin = makeLabel("labelForQuestionLatin", {10, 52, 240, 40}, kTitleYellow);
    numQuestion = makeLabel("numQuestion", {10, 10, 140, 20}, ui::Color::white());
    procent = makeLabel("procent", {250, 10, 40, 20}, ui::Color::white());

    quizs.clear();
    for (const auto& button : buttons)
        quizs.push_back(button->currentTitle());
}

// The dictionary's terms without the point labels, then the English titles of the information entries
// that stand for indexed terms, each once, with their Latin names beside them.
void TorvexView::buildIndexLists() {
    for (const auto& [term, node] : indexDictionary.entries()) {
        if (!containsText(term, "Label"))
            indexArray.push_back(term);
    }
    for (const auto& entry : childrenOf(allInfo ? allInfo->lastChild() : nullptr)) {
        if (!indexDictionary.contains(entry->attribute("id")))
            continue;
        std::string title(entry->getTitle());
        if (issetInIndexArray(title))
            continue;
        indexArray.push_back(title);
        if (std::string_view latin = entry->attribute("titlelatin"); latin.size() > 1)
            latinArray.emplace_back(latin);
    }
    sortAlphabetically(indexArray);
    sortAlphabetically(latinArray);
}

bool TorvexView::issetInIndexArray(const std::string& term) const {
    return std::find(indexArray.begin(), indexArray.end(), term) != indexArray.end();
}

int TorvexView::alphabeticSort(const std::string& a, const std::string& b, const void* context) {
    UErrorCode status = U_ZERO_ERROR;
    UCollationResult order = termCollator().compareUTF8(context ? a : b, context ? b : a, status);
    return order == UCOL_LESS ? -1 : order == UCOL_GREATER ? 1 : 0;
}

void TorvexView::sortAlphabetically(std::vector<std::string>& terms) {
    std::vector<std::pair<std::string, std::string>> keyed;
    keyed.reserve(terms.size());
    for (auto& term : terms)
        keyed.emplace_back(sortKey(term), std::move(term));
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 0; i < terms.size(); ++i)
        terms[i] = std::move(keyed[i].second);
}

// ---- State for automation

namespace {

using Json = nlohmann::ordered_json;
using StateField = std::pair<const char*, Json (*)(const TorvexView&)>;

const std::vector<StateField>& stateFields() {
    static const std::vector<StateField> fields = {
        {"viewTorvex", [](const TorvexView& v) { return Json(v.viewTorvex); }},
        {"oldViewTorvex", [](const TorvexView& v) { return Json(v.oldViewTorvex); }},
        {"tempView", [](const TorvexView& v) { return Json(v.journey().tempView()); }},
        {"needView", [](const TorvexView& v) { return Json(v.journey().needView()); }},
        {"Vparam", [](const TorvexView& v) { return Json(v.Vparam); }},
        {"count", [](const TorvexView& v) { return Json(v.count); }},
        {"question", [](const TorvexView& v) { return Json(v.question); }},
        {"countAns", [](const TorvexView& v) { return Json(v.countAns); }},
        {"proc", [](const TorvexView& v) { return Json(v.proc); }},
        {"viewHint", [](const TorvexView& v) { return Json(v.viewHint); }},
        {"wviewHint", [](const TorvexView& v) { return Json(v.wviewHint); }},
        {"flagsIsHidden", [](const TorvexView& v) { return Json(v.flagsIsHidden); }},
        {"hotSpotOn", [](const TorvexView& v) { return Json(v.hotSpotOn); }},
        {"blackBackground", [](const TorvexView& v) { return Json(v.blackBackground); }},
        {"isChangingView", [](const TorvexView& v) { return Json(v.journey().isChangingView()); }},
        {"backToStartBool", [](const TorvexView& v) { return Json(v.journey().backToStartBool()); }},
        {"backTwo", [](const TorvexView& v) { return Json(v.journey().backTwo()); }},
        {"zoomOn", [](const TorvexView& v) { return Json(v.zoomOn); }},
        {"inQuiz", [](const TorvexView& v) { return Json(v.inQuiz); }},
        {"quizQuit", [](const TorvexView& v) { return Json(v.quizQuit); }},
        {"lang", [](const TorvexView& v) { return Json(v.lang); }},
        {"itsNeedView", [](const TorvexView& v) { return Json(v.journey().itsNeedView()); }},
        {"tstr", [](const TorvexView& v) { return Json(v.journey().tstr()); }},
        {"scale", [](const TorvexView& v) { return Json(v.scale); }},
        {"scaleback", [](const TorvexView& v) { return Json(v.scaleback); }},
        {"root", [](const TorvexView& v) { return v.root ? Json(v.root->getHeader()) : Json(nullptr); }},
        {"enterArray",
         [](const TorvexView& v) {
             Json entries = Json::array();
             for (const TreeNode* node : v.journey().enterArray())
                 entries.push_back(enterArrayEntry(*node));
             return entries;
         }},
    };
    return fields;
}

} // namespace

void TorvexView::describeState(Json& state) const {
    for (const auto& [name, read] : stateFields())
        state[name] = read(*this);
    state["interaction"] =
        isViewLoaded() && const_cast<TorvexView*>(this)->view()->isUserInteractionEnabled();
}

// The viewer's state joins the application's, key by key, for as long as the viewer lives.
void TorvexView::registerStateProviders() {
    auto& application = ui::Application::shared();
    for (const StateField& field : stateFields()) {
        application.addStateProvider(
            field.first, [alive = std::weak_ptr<const int>(lifetime_), this, read = field.second]() {
                return alive.expired() ? Json(nullptr) : read(*this);
            });
    }
    application.addStateProvider("interaction", [alive = std::weak_ptr<const int>(lifetime_), this]() {
        return Json(!alive.expired() && view()->isUserInteractionEnabled());
    });
}

// ---- Helpers

ui::ImageView* TorvexView::displayedImage() const {
    if (!firstImage || firstImage->alpha() != 0)
        return firstImage.get();
    return secondImage.get();
}

ui::ImageView* TorvexView::hiddenImage() const {
    return displayedImage() == firstImage.get() ? secondImage.get() : firstImage.get();
}

bool TorvexView::isMagnified() const {
    const ui::ImageView* picture = displayedImage();
    return picture && picture->transform().a > 1.0;
}

const NodeList& TorvexView::childrenOf(const TreeNode* node) {
    static const NodeList none;
    return node ? node->children : none;
}

const NodeList& TorvexView::viewsOf(const TreeNode* region) {
    return childrenOf(region ? region->firstChild() : nullptr);
}

const NodeList& TorvexView::subRegionsOf(const TreeNode* region) {
    return childrenOf(region ? region->lastChild() : nullptr);
}

TreeNode* TorvexView::viewNamed(const TreeNode* region, std::string_view name) {
    for (const auto& view : viewsOf(region)) {
        if (view->getHeader() == name)
            return view.get();
    }
    return nullptr;
}

TreeNode* TorvexView::currentViewNamed(const std::string& name) const {
    return viewNamed(root, name);
}

bool TorvexView::regionOffers(const std::string& name) const {
    return currentViewNamed(name) != nullptr;
}

bool TorvexView::isOnScreen(const ui::View* view) {
    return view && view->superview();
}

void TorvexView::after(double seconds, void (TorvexView::*step)()) {
    ui::Timer::scheduled(seconds, ui::Timer::Repeats::No, whileAlive([this, step] { (this->*step)(); }));
}

TreeNode* TorvexView::ancestor(const TreeNode* node, int generations) {
    for (int i = 0; i < generations && node; ++i)
        node = node->parent;
    return const_cast<TreeNode*>(node);
}

bool TorvexView::isTopRegion(const TreeNode* region) {
    const TreeNode* third = ancestor(region, 3);
    return !third || third->key.empty();
}

bool TorvexView::hasParentRegion(const TreeNode* region) {
    return ancestor(region, 4) != nullptr;
}

float TorvexView::number(const TreeNode& node, std::string_view attribute) {
    std::string_view text = node.attribute(attribute);
    std::size_t start = text.find_first_not_of(" \t\n\r");
    if (start == std::string_view::npos)
        return 0;
    text.remove_prefix(start);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    float value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    // "inf" and "nan" would poison every frame and transform computed from them.
    return error == std::errc() && std::isfinite(value) ? value : 0;
}
