// The index panel: the alphabetical list of terms in a panel that slides in from the right edge, and the
// two term lists it shows, built once at loading.
#include "TorvexView.h"

#include "ForInfo.h"
#include "IndexViewController.h"
#include "Platform/Animation.h"
#include "Platform/Application.h"
#include "Platform/Button.h"

#include <algorithm>
#include <nlohmann/json.hpp>

namespace {

bool containsText(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

// Past this x the panel is out of sight on any screen the atlas is shown on.
constexpr double wellBeyondTheScreen = 768;

} // namespace

void TorvexView::createIndexList() {
    navigationController = std::make_shared<IndexViewController>(
        whileAlive([this](const std::string& term) { goToPart(term); }),
        whileAlive([this](const std::string& language) { setLang(language); }));
    navigationController->setDataEng(indexArray, latinArray);

    using Json = nlohmann::ordered_json;
    auto provide = [this, &application = ui::Application::shared()](const char* key, auto read) {
        application.addStateProvider(key, [alive = std::weak_ptr<const int>(lifetime_), this, read]() {
            return alive.expired() ? Json(nullptr) : Json(read(*this));
        });
    };
    provide("indexList", [](const TorvexView& v) { return v.navigationController->listContent(); });
    provide("indexRows", [](const TorvexView& v) { return v.navigationController->rowTitles(); });
    provide("indexLetters", [](const TorvexView& v) { return v.navigationController->sectionLetters(); });
    provide("Questions", [](const TorvexView& v) { return v.quiz().Questions(); });
}

void TorvexView::displayIndex() {
    count = 0;
    if (!journey_.enterArray().empty())
        return;
    hideViews();
    hideInfo();
    help_.hideHelp();
    if (quiz_.inQuiz()) {
        quiz_.alertOKCancelAction(true);
        return;
    }
    ui::Rect area = view()->frame();
    float screenWidth = static_cast<float>(area.width());
    float screenHeight = static_cast<float>(area.height());
    if (indexView->frame().x() < screenWidth) {
        hideIndex();
        return;
    }
    changeImageOnButton(buttonForIndex.get(), true);
    indexView->setFrame(ui::Rect(screenWidth + 5, 35, indexWidth, 0.8 * screenHeight));
    indexView->updateView();
    ui::Animation::begin(0.5);
    indexView->removeFromSuperview();
    view()->addSubview(indexView);
    ui::Point at = indexView->center();
    indexView->setCenter({at.x - indexWidth - 5, at.y});
    ui::Animation::commit();

    if (!navigationController)
        return;
    const auto& list = navigationController->view();
    // Every showing starts with no row chosen.
    navigationController->viewWillAppear(true);
    if (!list->superview()) {
        indexView->addSubview(list);
        navigationController->awakeFromNib();
        navigationController->viewDidAppear(true);
        list->setAlpha(0.75);
    }
    list->setFrame(ui::Rect(4, 4, indexWidth - 15.5, indexHeight - 12.5));
    indexView->textViewForInfo()->setUserInteractionEnabled(true);
}

// Each call moves the panel further out, however far out it is already, until it is well beyond any
// screen; showing it places it afresh.
void TorvexView::hideIndex() {
    if (!indexView || indexView->frame().x() > wellBeyondTheScreen)
        return;
    ui::Animation::begin(0.5);
    ui::Point at = indexView->center();
    indexView->setCenter({at.x + indexWidth + 5, at.y});
    ui::Animation::commit();
    changeImageOnButton(buttonForIndex.get(), false);
}

void TorvexView::setLang(const std::string& language) {
    lang = language;
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
