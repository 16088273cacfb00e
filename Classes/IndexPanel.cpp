#include "IndexPanel.h"

#include "ForInfo.h"
#include "IndexViewController.h"
#include "Platform/Animation.h"
#include "Platform/Application.h"
#include "Platform/Button.h"
#include "TermDictionary.h"
#include "TermOrder.h"
#include "TreeNode.h"

#include <algorithm>
#include <nlohmann/json.hpp>

namespace {

bool containsText(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

// Past this x the panel is out of sight on any screen the atlas is shown on.
constexpr double wellBeyondTheScreen = 768;

} // namespace

IndexPanel::IndexPanel(Hooks hooks) : hooks_(std::move(hooks)) {}

IndexPanel::~IndexPanel() = default;

void IndexPanel::createIndexList() {
    navigationController_ = std::make_shared<IndexViewController>(
        lifetime_.guard([this](const std::string& term) { hooks_.goToPart(term); }),
        lifetime_.guard([this](const std::string& language) { setLang(language); }));
    navigationController_->setDataEng(indexArray_, latinArray_);

    using Json = nlohmann::ordered_json;
    auto provide = [this, &application = ui::Application::shared()](const char* key, auto read) {
        application.addStateProvider(key, [alive = lifetime_.token(), this, read]() {
            return alive.expired() ? Json(nullptr) : Json(read(*navigationController_));
        });
    };
    provide("indexList", [](const IndexViewController& list) { return list.listContent(); });
    provide("indexRows", [](const IndexViewController& list) { return list.rowTitles(); });
    provide("indexLetters", [](const IndexViewController& list) { return list.sectionLetters(); });
}

void IndexPanel::addTo(ui::View& host) {
    host_ = &host;
    ui::Rect area = host.frame();
    indexView = ui::make<ForInfo>(ui::Rect(area.width() + indexWidth, 35, indexWidth, 0.8 * area.height()));
    indexView->setIdentifier("indexView");
}

void IndexPanel::displayIndex() {
    hooks_.quietRings();
    if (hooks_.journeyUnderWay())
        return;
    hooks_.closeOtherPanels();
    if (hooks_.quizAsksToLeave())
        return;
    ui::Rect area = host_->frame();
    float screenWidth = static_cast<float>(area.width());
    float screenHeight = static_cast<float>(area.height());
    if (indexView->frame().x() < screenWidth) {
        hideIndex();
        return;
    }
    hooks_.showButtonPressed(true);
    indexView->setFrame(ui::Rect(screenWidth + 5, 35, indexWidth, 0.8 * screenHeight));
    indexView->updateView();
    ui::Animation::begin(0.5);
    indexView->removeFromSuperview();
    host_->addSubview(indexView);
    ui::Point at = indexView->center();
    indexView->setCenter({at.x - indexWidth - 5, at.y});
    ui::Animation::commit();

    if (!navigationController_)
        return;
    const auto& list = navigationController_->view();
    // Every showing starts with no row chosen.
    navigationController_->viewWillAppear(true);
    if (!list->superview()) {
        indexView->addSubview(list);
        navigationController_->awakeFromNib();
        navigationController_->viewDidAppear(true);
        list->setAlpha(0.75);
    }
    list->setFrame(ui::Rect(4, 4, indexWidth - 15.5, indexHeight - 12.5));
    indexView->textViewForInfo()->setUserInteractionEnabled(true);
}

// Showing the panel places it afresh.
void IndexPanel::hideIndex() {
    if (!indexView || indexView->frame().x() > wellBeyondTheScreen)
        return;
    ui::Animation::begin(0.5);
    ui::Point at = indexView->center();
    indexView->setCenter({at.x + indexWidth + 5, at.y});
    ui::Animation::commit();
    hooks_.showButtonPressed(false);
}

void IndexPanel::setLang(const std::string& language) {
    lang_ = language;
}

void IndexPanel::buildIndexLists(const TermDictionary& dictionary, const TreeNode* allInfo) {
    for (const auto& [term, node] : dictionary.entries()) {
        if (!containsText(term, "Label"))
            indexArray_.push_back(term);
    }
    static const std::vector<std::unique_ptr<TreeNode>> none;
    const TreeNode* entries = allInfo ? allInfo->lastChild() : nullptr;
    for (const auto& entry : entries ? entries->children : none) {
        if (!dictionary.contains(entry->attribute("id")))
            continue;
        std::string title(entry->getTitle());
        if (issetInIndexArray(title))
            continue;
        indexArray_.push_back(title);
        if (std::string_view latin = entry->attribute("titlelatin"); latin.size() > 1)
            latinArray_.emplace_back(latin);
    }
    TermOrder::sortAlphabetically(indexArray_);
    TermOrder::sortAlphabetically(latinArray_);
}

bool IndexPanel::issetInIndexArray(const std::string& term) const {
    return std::find(indexArray_.begin(), indexArray_.end(), term) != indexArray_.end();
}

bool IndexPanel::isOpen() const {
    return indexView && host_ && indexView->frame().x() < host_->bounds().width();
}

ui::View* IndexPanel::panel() const {
    return indexView.get();
}
