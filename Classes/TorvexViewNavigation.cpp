// Moving between regions: entering a sub-region, going back, and the viewer's side of journeys to an
// indexed structure (the journey itself keeps its queue and timers). While a step runs, touches on the
// viewer are off, and the end of each transition gives them back only when no journey is pending.
#include "TorvexView.h"

#include "ForInfo.h"
#include "Platform/Animation.h"
#include "Platform/Button.h"
#include "Platform/ImageView.h"
#include "Platform/Label.h"

#include <algorithm>
#include <iostream>

namespace {

bool contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

std::string headerOf(const TreeNode* node) {
    return node ? std::string(node->getHeader()) : std::string();
}

} // namespace

void TorvexView::enterToPart(ui::Button* sender) {
    if (sender)
        show(sender->currentTitle(), 0);
    else
        refresh();
}

void TorvexView::showView(const std::string& name) {
    oldViewTorvex = viewTorvex;
    viewTorvex = name;
    refresh();
}

void TorvexView::enterRegion(const TreeNode& region) {
    root = ancestor(&region, 2);
    show(std::string(region.getHeader()), 0);
}

void TorvexView::showRegion(TreeNode& region, const std::string& name) {
    root = &region;
    oldViewTorvex = viewTorvex = name;
    refresh();
}

void TorvexView::refresh() {
    show(std::nullopt, 0);
}

// Re-entering for a "realheader" alias keeps the back caption and the region found by the first pass.
void TorvexView::show(const std::optional<std::string>& subRegion, int aliasesFollowed) {
    if (journey_.backToStartBool() && subRegion)
        return;
    view()->setUserInteractionEnabled(false);
    hotSpots_.quiet();
    hotSpots_.hideHintArrows();
    if (subRegion && aliasesFollowed == 0) {
        bar_.showBackControls(true);
        bar_.setBackCaption(headerOf(root));
        const TreeNode* leaving = root;
        for (const auto& region : subRegionsOf(leaving)) {
            if (region->getHeader() == *subRegion)
                root = region.get();
        }
    }
    imageViews_.clear();
    index_.hideIndex();
    views_.hideViews();
    cleanView();
    cleanButtons();
    // An alias names the view the change was planned for: following it plans nothing again (planning
    // the change to a derived view whose base is the alias would turn back to the alias, round and round).
    if (!subRegion && aliasesFollowed == 0 && viewTorvex != oldViewTorvex) {
        if (isMagnified()) {
            ui::ImageView* picture = displayedImage();
            ui::Animation::run(0.2, [&] {
                picture->setTransform(ui::AffineTransform::identity());
                picture->setCenter(center);
            });
        }
        arrowAnimation();
        journey_.turnShown(viewTorvex);
    }
    bar_.setTitle(viewTorvex + ": " + headerOf(root));
    updatePart(subRegionsOf(root));

    const NodeList& views = viewsOf(root);
    bool shown = false;
    for (const auto& view : views) {
        if (view->attribute("realheader").empty())
            storePlainView(*view);
        if (shown || view->getHeader() != viewTorvex)
            continue;
        std::string_view alias = view->attribute("realheader");
        if (alias.size() > 2) {
            if (static_cast<std::size_t>(aliasesFollowed) < views.size()) {
                viewTorvex = alias;
                show(subRegion, aliasesFollowed + 1);
                return;
            }
            std::cerr << "torvex: the view aliases of \"" << headerOf(root) << "\" loop at \"" << viewTorvex
                      << "\"; keeping the picture on screen\n";
            continue;
        }
        updateView(view->children);
        Vparam = view->attribute("v");
        xx = yy = 0;
        ui::ImageView* picture = displayedImage();
        ui::ImageView* next = hiddenImage();
        next->setCenter(center);
        next->setTransform(ui::AffineTransform::identity());
        loadPictureOfView(*view);
        picture->setAlpha(1.0);
        next->setAlpha(0.0);
        if (subRegion)
            runEnteringTransition();
        else
            after(0.1, &TorvexView::animationImage);
        shown = true;
    }
    // No view to show (the region lacks it, or its aliases loop): no transition will end this step.
    if (!shown)
        endChangeLevel();

    if (quiz_.isQuestionOnScreen()) {
        quiz_.bringQuestionPanelToFront();
        if (!bar_.button(Bar::Flags)->isHidden() && quiz_.countAns() <= 2)
            ui::Timer::scheduled(1.0, ui::Timer::Repeats::No,
                                 whileAlive([this] { flagBubbles_.displayFlags(); }));
    }
    if (isTopRegion(root) || !journey_.enterArray().empty())
        bar_.showBackControls(false);
    journey_.regionShown(viewTorvex);
}

void TorvexView::back() {
    view()->setUserInteractionEnabled(false);
    if (isMagnified()) {
        bar_.restoreAfterMagnification();
        bool magnificationModeOn = zoomOn;
        if (zoomOn)
            zoomOnOff();
        if (TreeNode* shownView = currentViewNamed(viewTorvex))
            updateView(shownView->children);
        ui::ImageView* picture = displayedImage();
        ui::Animation::begin(0.5);
        // Leaving magnification mode gives the touches back; a picture magnified without the mode
        // needs this animation to do it.
        if (!magnificationModeOn)
            ui::Animation::setDidStop(whileAlive([this] { endChangeLevel(); }));
        picture->setTransform(ui::AffineTransform::identity());
        picture->setCenter(center);
        ui::Animation::commit();
        if (contains(scalpel->currentTitle(), "- L"))
            scalpel->setHidden(false);
        return;
    }
    // At the top there is nowhere to go; the touches switched off above must come back.
    if (!hasParentRegion(root)) {
        endChangeLevel();
        return;
    }
    hotSpots_.quiet();
    ui::Point zoomLeft = zoom;
    scaleback = scale;
    index_.hideIndex();
    views_.hideViews();

    if (checkIfNeededChangeView()) {
        if (!contains(viewTorvex, "Exp") && !contains(viewTorvex, ".")) {
            showView("Anterior");
            journey_.handOverClimb();
            return;
        }
        viewTorvex = oldViewTorvex;
        journey_.restoringViewBeforeBack(viewTorvex);
        refresh();
        journey_.backLater();
        return;
    }

    journey_.handOverClimb();
    root = ancestor(root, 2);
    bar_.setBackCaption(headerOf(ancestor(root, 2)));
    if (!hasParentRegion(root))
        bar_.showBackControls(false);
    bar_.setTitle(viewTorvex + ": " + headerOf(root));
    imageViews_.clear();
    cleanView();
    cleanButtons();
    updatePart(subRegionsOf(root));
    bool shown = false;
    for (const auto& view : viewsOf(root)) {
        if (view->attribute("realheader").empty())
            storePlainView(*view);
        if (shown || view->getHeader() != viewTorvex)
            continue;
        updateView(view->children);
        xx = yy = 0;
        runLeavingTransition(*view, zoomLeft, scaleback);
        shown = true;
    }
    if (!shown)
        endChangeLevel();
    if (quiz_.isQuestionOnScreen())
        quiz_.bringQuestionPanelToFront();
}

bool TorvexView::checkIfNeededChangeView() {
    return checkIfNeededChangeView(root, viewTorvex, oldViewTorvex);
}

bool TorvexView::checkIfNeededChangeView(const TreeNode* region, const std::string& view,
                                         const std::string& previousView) {
    TreeNode* sameView = viewNamed(ancestor(region, 2), view);
    if (!sameView)
        return true;
    if (!contains(view, "Exp"))
        return false;
    for (const auto& element : sameView->children) {
        if (element->key == "hitarea" && element->attribute("exist") == "false")
            return true;
    }
    return previousView != sameView->attribute("v");
}

void TorvexView::storePlainView(const TreeNode& view) {
    std::string name(view.getHeader());
    std::string picture(view.attribute("src"));
    auto known = std::find_if(imageViews_.begin(), imageViews_.end(),
                              [&](const auto& entry) { return entry.first == name; });
    if (known != imageViews_.end())
        known->second = std::move(picture);
    else
        imageViews_.emplace_back(std::move(name), std::move(picture));
}

void TorvexView::changeView(ui::Button* sender) {
    if (zoomOn)
        back();
    std::string name = sender->currentTitle();
    if (name == viewTorvex)
        return;
    oldViewTorvex = viewTorvex;
    viewTorvex = name;
    journey_.viewChosen(name);
    after(0.75, &TorvexView::changeViewAndEnter);
}

void TorvexView::changeViewAndEnter() {
    journey_.viewChangeDone();
    refresh();
}
