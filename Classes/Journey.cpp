#include "Journey.h"

#include "TreeNode.h"

#include "Platform/Timer.h"

Journey::Journey(Actions actions) : actions_(std::move(actions)) {}

void Journey::after(double seconds, void (Journey::*step)()) {
    ui::Timer::scheduled(seconds, ui::Timer::Repeats::No,
                         [alive = std::weak_ptr<const int>(lifetime_), this, step] {
                             if (!alive.expired())
                                 (this->*step)();
                         });
}

void Journey::goBack() {
    actions_.back();
}

Journey::Phase Journey::phase() const {
    if (climbing_)
        return Phase::Climbing;
    if (climbingToTop_)
        return Phase::ClimbingToTop;
    return steps_.empty() ? Phase::Idle : Phase::Descending;
}

void Journey::start(const std::vector<TreeNode*>& steps, bool parentOffersView) {
    steps_.insert(steps_.end(), steps.begin(), steps.end());
    climbing_ = true;
    if (!actions_.atTopRegion()) {
        after(1.25, parentOffersView ? &Journey::climbToTop : &Journey::goBack);
    } else {
        climbing_ = false;
        after(1.0, &Journey::takeNextStep);
    }
}

void Journey::climbToTop() {
    actions_.setTouches(false);
    climbing_ = false;
    climbingToTop_ = true;
    if (!actions_.atTopRegion()) {
        actions_.back();
        after(1.0, &Journey::climbToTop);
        return;
    }
    climbingToTop_ = false;
    takeNextStep();
}

void Journey::takeNextStep() {
    if (steps_.empty()) {
        actions_.setTouches(true);
        return;
    }
    TreeNode* next = steps_.back();
    if (next->key != "view")
        steps_.pop_back();

    double delay = 1.25;
    if (next->key == "part") {
        actions_.enterRegion(*next);
    } else if (next->key == "point") {
        actions_.openBubble(*next);
        return;
    } else if (next->key == "view") {
        std::string header(next->getHeader());
        if (header == actions_.currentView()) {
            steps_.pop_back();
            needView_ = "";
            delay = 0.4;
        } else if (needView_ == header && viewStepsPending_ > 0) {
            delay = 1.25;
        } else {
            actions_.chooseView(header);
            needView_ = header;
            delay = 1.3;
        }
    }
    after(delay, &Journey::takeNextStep);
}

void Journey::regionShown(const std::string& view) {
    if (view == itsNeedView_ && climbing_)
        after(1.35, &Journey::climbToTop);
}

void Journey::turnShown(const std::string& view) {
    if (view == "Anterior" && backTwo_) {
        backTwo_ = false;
        after(1.2, &Journey::goBack);
    }
}

void Journey::handOverClimb() {
    if (climbing_) {
        after(1.3, &Journey::climbToTop);
        climbing_ = false;
    }
}

void Journey::restoringViewBeforeBack(const std::string& view) {
    if (!climbing_ && view == "Superior" && steps_.empty())
        backTwo_ = true;
}

void Journey::backLater() {
    after(1.3, &Journey::goBack);
}

void Journey::viewChosen(const std::string& view) {
    itsNeedView_ = view;
    ++viewStepsPending_;
}

void Journey::viewChangeAhead() {
    ++viewStepsPending_;
}

void Journey::viewChangeDone() {
    --viewStepsPending_;
}

void Journey::arrivedAt(const std::string& view) {
    if (needView_ == view)
        needView_ = "";
}

ViewRing::TurnState Journey::turnState(std::string& view, std::string& oldView) {
    return ViewRing::TurnState{view, oldView, tempView_, needView_, tstr_};
}
