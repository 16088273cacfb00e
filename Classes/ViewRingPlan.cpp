// Planning a view change. A change between neighbours plays one arrow; any other change first turns
// to an intermediate view, and the rest follows 1.25 s later (`tempView`), planned again from there.
#include "ViewRing.h"

namespace {

using Turn = ViewRing::Turn;

bool contains(const std::string& text, std::string_view part) {
    return text.find(part) != std::string::npos;
}

bool hasDot(const std::string& name) {
    return contains(name, ".");
}

bool isLateralName(const std::string& name) {
    return name == "Left Side" || contains(name, "Lateral");
}

bool isExplodedName(const std::string& name) {
    return contains(name, "Exp");
}

std::string withoutExp(std::string name) {
    for (auto at = name.find(" Exp"); at != std::string::npos; at = name.find(" Exp", at))
        name.erase(at, 4);
    return name;
}

// The base view a compound name is reached through: the first of `bases` that the name contains and
// is not itself.
std::optional<std::string> baseViewOf(const std::vector<std::string>& bases, const std::string& name) {
    for (const auto& base : bases) {
        if (base != name && contains(name, base))
            return base;
    }
    return std::nullopt;
}

// One planning step for the change from O (`oldView`) to V (`view`), both taken when the step starts.
// Rules are tried in order; the first that matches decides.
class TurnPlan {
public:
    TurnPlan(const ViewRing& ring, ViewRing::TurnState& state, ViewRing::TurnActions& actions,
             const std::vector<std::string>& bases)
        : ring_(ring), s_(state), act_(actions), bases_(bases), v_(state.view), o_(state.oldView) {}

    void run() {
        if (contains(v_, o_))
            return;
        if (o_ != "Superior Limbic" && o_ != "Left Lateral") {
            if (auto base = baseViewOf(bases_, o_)) {
                routeTo(*base);
                act_.goOnLater();
                return;
            }
        }
        if (hasDot(o_) && o_ != "Right Lat.")
            return leaveDottedView();
        bool vPlain = !hasDot(v_) || v_ == "Right Lat.";
        bool vSimple = !isExplodedName(v_) && !hasDot(v_);
        if (o_ == "Anterior" && !isExplodedName(v_) && vPlain)
            return leaveFront();
        if (ViewRing::isLeft(o_) && vSimple)
            return turnOrPassFront(v_ == "Anterior", Turn::TurnBack, v_ == "Posterior", Turn::TurnForward);
        if (ViewRing::isRight(o_) && (!hasDot(v_) || o_ == "Right Lat."))
            return turnOrPassFront(v_ == "Anterior", Turn::TurnForward, v_ == "Posterior", Turn::TurnBack);
        if (ViewRing::isTop(o_) && vSimple)
            return turnOrPassFront(v_ == "Anterior", Turn::Tilt, false, Turn::Tilt);
        if (ViewRing::isBottom(o_) && vSimple)
            return turnOrPassFront(v_ == "Anterior", Turn::TiltBack, false, Turn::TiltBack);
        if (o_ == "Posterior" && !isExplodedName(v_) && vPlain)
            return leaveBack();
        if (o_ == "Anterior Xray" || o_ == "Anterior Skin") {
            routeTo("Anterior");
            if (v_ != "Anterior")
                act_.goOnLater();
            return;
        }
        planDerivedChange();
    }

private:
    const ViewRing::View* firstViewWhere(bool (*test)(const std::string&)) const {
        for (const auto& view : ring_.views()) {
            if (test(view.name))
                return &view;
        }
        return nullptr;
    }
    const ViewRing::View* viewNamed(const std::string& name) const {
        for (const auto& view : ring_.views()) {
            if (view.name == name)
                return &view;
        }
        return nullptr;
    }

    // After an arrow or a continued change: finish a derived target through its base view.
    void closingSteps() {
        if (s_.tstr == s_.view) {
            s_.tstr = "";
            s_.tempView = s_.needView;
            act_.goOnLater();
        }
        if (s_.view == "Superior Limbic" || s_.view == "Left Lateral")
            return;
        if (auto base = baseViewOf(bases_, s_.view)) {
            s_.tempView = s_.view;
            s_.view = *base;
            act_.goOnLater();
        }
    }

    void routeTo(const std::string& intermediate) {
        s_.tempView = v_;
        s_.view = intermediate;
    }
    // Front and back are two turns apart, through the region's lateral view. A region without one turns
    // straight round: planning a turn to a lateral view that is not there would plan the same change
    // again, for ever.
    bool hasLateralView() const { return firstViewWhere(isLateralName) != nullptr; }
    void turnToLateralOfRegion() {
        if (const ViewRing::View* lateral = firstViewWhere(isLateralName))
            s_.view = lateral->name;
    }
    void arrowThenClose(Turn turn) {
        act_.playArrow(turn);
        closingSteps();
    }
    // Plays the arrow for the first step now, and goes on to `tempView` 1.25 s later.
    void continueChange() {
        act_.planAgain();
        act_.goOnLater();
        closingSteps();
    }

    void turnOrPassFront(bool first, Turn firstArrow, bool second, Turn secondArrow) {
        if (first) {
            arrowThenClose(firstArrow);
        } else if (second) {
            arrowThenClose(secondArrow);
        } else {
            routeTo("Anterior");
            continueChange();
        }
    }

    void leaveDottedView() {
        const ViewRing::View* left = viewNamed(o_);
        if (!left)
            return closingSteps();
        s_.tempView = v_;
        s_.oldView = s_.view = left->base;
        act_.goOnLater();
    }

    void leaveFront() {
        if (ViewRing::isLeft(v_)) {
            arrowThenClose(Turn::TurnForward);
        } else if (ViewRing::isRight(v_)) {
            arrowThenClose(Turn::TurnBack);
        } else if (ViewRing::isTop(v_)) {
            arrowThenClose(Turn::TiltBack);
        } else if (ViewRing::isBottom(v_)) {
            arrowThenClose(Turn::Tilt);
        } else if (v_ == "Posterior" && !hasLateralView()) {
            arrowThenClose(Turn::TurnForward);
        } else if (v_ == "Posterior") {
            s_.tempView = v_;
            turnToLateralOfRegion();
            continueChange();
        } else {
            closingSteps();
        }
    }

    void leaveBack() {
        if (ViewRing::isLeft(v_))
            return arrowThenClose(Turn::TurnBack);
        if (ViewRing::isRight(v_))
            return arrowThenClose(Turn::TurnForward);
        if (!hasLateralView()) {
            if (v_ == "Anterior")
                return arrowThenClose(Turn::TurnBack);
            routeTo("Anterior");
            return continueChange();
        }
        s_.tempView = v_;
        turnToLateralOfRegion();
        act_.planAgain();
        act_.goOnLater();
    }

    // Exploded views, the skin and X-ray views entered from elsewhere, and views with a dot in their
    // name are reached through their base view.
    void planDerivedChange() {
        bool fromPlainView = o_ != "Anterior" && !isExplodedName(o_);
        if (fromPlainView && (v_ == "Anterior Skin" || v_ == "Anterior Xray")) {
            s_.view = "Anterior";
            s_.tempView = v_;
            act_.planAgain();
            if (v_ == "Anterior Xray")
                act_.goOnLater();
            return;
        }
        if (isExplodedName(v_))
            return enterExplodedView();
        if (isExplodedName(o_))
            return leaveExplodedView();
        if (!hasDot(v_) || v_ == "Right Lat.")
            return closingSteps();
        const ViewRing::View* target = viewNamed(v_);
        if (!target)
            return closingSteps();
        std::string base = target->base;
        if (o_ == base)
            return;
        s_.tstr = base;
        s_.needView = v_;
        s_.tempView = v_;
        s_.view = base;
        act_.planAgain();
    }

    void enterExplodedView() {
        const ViewRing::View* exploded = firstViewWhere(isExplodedName);
        if (!exploded)
            return closingSteps();
        std::string base = exploded->base;
        if (o_ == base || (base == "-1" && o_ == withoutExp(v_)))
            return;
        s_.tempView = v_;
        s_.needView = v_;
        s_.view = s_.tstr = base == "-1" ? withoutExp(v_) : base;
        act_.planAgain();
    }

    void leaveExplodedView() {
        const ViewRing::View* exploded = firstViewWhere(isExplodedName);
        if (!exploded)
            return closingSteps();
        std::string base = exploded->base;
        if (o_ == base)
            return;
        std::string returnTo = base == "-1" ? withoutExp(o_) : base;
        s_.oldView = returnTo;
        s_.tempView = v_;
        s_.view = returnTo;
        act_.goOnLater();
    }

    const ViewRing& ring_;
    ViewRing::TurnState& s_;
    ViewRing::TurnActions& act_;
    const std::vector<std::string>& bases_;
    const std::string v_, o_;
};

} // namespace

void ViewRing::planTurn(TurnState& state, TurnActions& actions, const std::vector<std::string>& bases) const {
    TurnPlan(*this, state, actions, bases).run();
}
