// The viewer's side of journeys and multi-step view changes: it resolves a term to the steps of a
// journey, lets the journey act on it (back, enter, choose a view, open the bubble), and carries out
// the turns that the view ring plans, 1.25 s apart.
#include "TorvexView.h"

#include "ForInfo.h"
#include "Platform/Button.h"

#include <algorithm>

namespace {

// The point of the view named `viewName` in the same region that shows the same structure as `point`,
// else `point` itself.
TreeNode* sameStructureInView(TreeNode& point, std::string_view viewName) {
    const TreeNode* views = TorvexView::ancestor(&point, 3);
    if (!views)
        return &point;
    for (const auto& view : views->children) {
        if (view->getHeader() != viewName)
            continue;
        for (const auto& other : TorvexView::childrenOf(view->firstChild())) {
            if (other->attribute("infoid") == point.attribute("infoid"))
                return other.get();
        }
        break;
    }
    return &point;
}

} // namespace

void TorvexView::backToStart() {
    journey_.climbToTop();
}

void TorvexView::goToPart(const std::string& term) {
    index_.hideIndex();
    view()->setUserInteractionEnabled(false);

    TreeNode* target = nullptr;
    std::string_view searchKey;
    if (index_.lang() != "eng" && !quiz_.isQuestionOnScreen()) {
        searchKey = "titlelatin";
    } else {
        target = indexDictionary.find(term);
        if (!target)
            searchKey = "title";
    }
    if (!searchKey.empty()) {
        for (const auto& entry : childrenOf(allInfo ? allInfo->lastChild() : nullptr)) {
            if (entry->attribute(searchKey) == term) {
                target = indexDictionary.find(entry->attribute("id"));
                break;
            }
        }
    }

    // The point (shown in the current view when that view has it too), its view, its region and every
    // region above it down to a child of the top region, the deepest first.
    std::vector<TreeNode*> steps;
    do {
        if (target && target->key == "point")
            target = sameStructureInView(*target, viewTorvex);
        if (target)
            steps.push_back(target);
        target = ancestor(target, 2);
    } while (!isTopRegion(target));
    journey_.start(steps, viewNamed(ancestor(root, 2), viewTorvex) != nullptr);
}

void TorvexView::openBubbleOfPoint(TreeNode& point) {
    flagBubbles_.openBubbleOfPoint(point, childrenOf(currentViewNamed(viewTorvex)));
    quiz_.arrivedAtAnswer();
    // A structure of the top region leaves nothing to go back to.
    bar_.showBackControls(hasParentRegion(root));
}

Journey::Actions TorvexView::journeyActions() {
    Journey::Actions actions;
    actions.atTopRegion = [this] { return isTopRegion(root); };
    actions.currentView = [this] { return viewTorvex; };
    actions.setTouches = [this](bool on) { view()->setUserInteractionEnabled(on); };
    actions.back = [this] { back(); };
    actions.enterRegion = [this](const TreeNode& region) { enterRegion(region); };
    actions.chooseView = [this](const std::string& name) {
        auto button = ui::make<ui::Button>();
        button->setTitle(name);
        changeView(button.get());
    };
    actions.openBubble = [this](TreeNode& point) { openBubbleOfPoint(point); };
    return actions;
}

void TorvexView::timerWaitAndGo() {
    journey_.viewChangeAhead();
    after(1.25, &TorvexView::waitSecond);
}

// A change can arrive early: an intermediate view that is an alias of the target shows the target.
// Entering the view on screen again would only take away its flags and the bubble a journey opened.
void TorvexView::waitSecond() {
    journey_.viewChangeDone();
    bool arrived = viewTorvex == journey_.tempView();
    oldViewTorvex = viewTorvex;
    viewTorvex = journey_.tempView();
    journey_.arrivedAt(viewTorvex);
    if (!arrived)
        refresh();
}

ViewRing TorvexView::viewRing() const {
    std::vector<std::string> keys;
    for (const auto& [name, picture] : imageViews_)
        keys.push_back(name);
    std::vector<ViewRing::View> views;
    if (root) {
        for (const auto& view : viewsOf(root))
            views.push_back({std::string(view->getHeader()), std::string(view->attribute("v"))});
    }
    return ViewRing(viewTorvex, Vparam, std::move(keys), std::move(views));
}
