// The viewer's values in the automation `state`, each under the name it has always had.
#include "TorvexView.h"

#include "Platform/Application.h"

#include <nlohmann/json.hpp>

namespace {

std::string enterArrayEntry(const TreeNode& node) {
    std::string_view name = node.key == "point" ? node.attribute("infoid") : node.getHeader();
    return std::string(node.key.view()) + ":" + std::string(name);
}

using Json = nlohmann::ordered_json;
using StateField = std::pair<const char*, Json (*)(const TorvexView&)>;

} // namespace

struct TorvexView::StateFields {
    static const std::vector<StateField>& all();
};

const std::vector<StateField>& TorvexView::StateFields::all() {
    static const std::vector<StateField> fields = {
        {"viewTorvex", [](const TorvexView& v) { return Json(v.viewTorvex); }},
        {"oldViewTorvex", [](const TorvexView& v) { return Json(v.oldViewTorvex); }},
        {"tempView", [](const TorvexView& v) { return Json(v.journey().tempView()); }},
        {"needView", [](const TorvexView& v) { return Json(v.journey().needView()); }},
        {"Vparam", [](const TorvexView& v) { return Json(v.Vparam); }},
        {"count", [](const TorvexView& v) { return Json(v.hotSpots().count()); }},
        {"question", [](const TorvexView& v) { return Json(v.quiz().question()); }},
        {"countAns", [](const TorvexView& v) { return Json(v.quiz().countAns()); }},
        {"proc", [](const TorvexView& v) { return Json(v.quiz().proc()); }},
        {"viewHint", [](const TorvexView& v) { return Json(v.flagBubbles().viewHint()); }},
        {"wviewHint", [](const TorvexView& v) { return Json(v.flagBubbles().wviewHint()); }},
        {"flagsIsHidden", [](const TorvexView& v) { return Json(v.flagBubbles().flagsIsHidden()); }},
        {"hotSpotOn", [](const TorvexView& v) { return Json(v.hotSpots().hotSpotOn()); }},
        {"blackBackground", [](const TorvexView& v) { return Json(v.bar().blackBackground()); }},
        {"isChangingView", [](const TorvexView& v) { return Json(v.journey().isChangingView()); }},
        {"backToStartBool", [](const TorvexView& v) { return Json(v.journey().backToStartBool()); }},
        {"backTwo", [](const TorvexView& v) { return Json(v.journey().backTwo()); }},
        {"zoomOn", [](const TorvexView& v) { return Json(v.zoomOn); }},
        {"inQuiz", [](const TorvexView& v) { return Json(v.quiz().inQuiz()); }},
        {"quizQuit", [](const TorvexView& v) { return Json(v.quiz().quizQuit()); }},
        {"lang", [](const TorvexView& v) { return Json(v.index().lang()); }},
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

void TorvexView::describeState(Json& state) const {
    for (const auto& [name, read] : StateFields::all())
        state[name] = read(*this);
    state["interaction"] =
        isViewLoaded() && const_cast<TorvexView*>(this)->view()->isUserInteractionEnabled();
}

// The viewer's state joins the application's, key by key, for as long as the viewer lives.
void TorvexView::registerStateProviders() {
    auto& application = ui::Application::shared();
    for (const StateField& field : StateFields::all()) {
        application.addStateProvider(
            field.first, [alive = std::weak_ptr<const int>(lifetime_), this, read = field.second]() {
                return alive.expired() ? Json(nullptr) : read(*this);
            });
    }
    application.addStateProvider("interaction", [alive = std::weak_ptr<const int>(lifetime_), this]() {
        return Json(!alive.expired() && view()->isUserInteractionEnabled());
    });
}
