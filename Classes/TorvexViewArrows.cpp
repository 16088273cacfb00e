// The rotation arrow and the planning of view changes. Views hang around the "Anterior" hub: the
// left lateral, posterior and right/medial views around it, the top and bottom views above and below
// it, and derived views (skin, X-ray, exploded, names with a dot) off a base view. A change between
// neighbours plays one arrow; any other change first turns to an intermediate view, and the rest of
// the journey follows 1.25 s later (`tempView` and `timerWaitAndGo`), which plans again from there.
#include "TorvexView.h"

#include "Platform/Bundle.h"
#include "Platform/ImageView.h"

#include <cmath>
#include <iostream>
#include <string>

namespace {

constexpr double arrowSeconds = 0.6;
constexpr int arrowFrames = 15;
// Planning recurses through intermediate views a few levels deep; views whose "v" leads back to
// themselves would recurse for ever.
constexpr int deepestPlan = 16;

// The arrow's directions:
//     1  Turn      Anterior -> left lateral -> Posterior -> medial/right -> Anterior
//     2  TurnBack  the opposite way
//     3  Tilt      Anterior -> bottom view, top view -> Anterior
//     4  TiltBack  Anterior -> top view, bottom view -> Anterior
enum ArrowDirection { Turn = 1, TurnBack = 2, Tilt = 3, TiltBack = 4 };

bool contains(const std::string& text, std::string_view part) {
    return text.find(part) != std::string::npos;
}

bool hasDot(const std::string& name) {
    return contains(name, ".");
}

bool isLeft(const std::string& name) {
    return contains(name, "Lateral") || name == "Left Side";
}

bool isRight(const std::string& name) {
    return contains(name, "Medial") || name == "Right Side" || name == "Right Lat.";
}

bool isTop(const std::string& name) {
    return contains(name, "Superior") || contains(name, "Dorsal");
}

bool isBottom(const std::string& name) {
    return contains(name, "Inferior") || contains(name, "Plantar");
}

std::string withoutExp(std::string name) {
    for (auto at = name.find(" Exp"); at != std::string::npos; at = name.find(" Exp", at))
        name.erase(at, 4);
    return name;
}

// The base view a compound name is reached through: the first of `ofViews` that the name contains
// and is not itself.
std::optional<std::string> baseViewOf(const std::vector<std::string>& ofViews, const std::string& name) {
    for (const auto& base : ofViews) {
        if (base != name && contains(name, base))
            return base;
    }
    return std::nullopt;
}

const TreeNode* firstViewWhere(const TorvexView& viewer, bool (*test)(const std::string&)) {
    if (!viewer.root)
        return nullptr;
    for (const auto& view : TorvexView::viewsOf(viewer.root)) {
        if (test(std::string(view->getHeader())))
            return view.get();
    }
    return nullptr;
}

bool isLateralName(const std::string& name) {
    return name == "Left Side" || contains(name, "Lateral");
}

bool isExplodedName(const std::string& name) {
    return contains(name, "Exp");
}

// After an arrow or a continued journey: finish a derived target through its base view.
void closingSteps(TorvexView& viewer) {
    if (viewer.tstr == viewer.viewTorvex) {
        viewer.tstr = "";
        viewer.tempView = viewer.needView;
        viewer.timerWaitAndGo();
    }
    if (viewer.viewTorvex == "Superior Limbic" || viewer.viewTorvex == "Left Lateral")
        return;
    if (auto base = baseViewOf(viewer.ofViews, viewer.viewTorvex)) {
        viewer.tempView = viewer.viewTorvex;
        viewer.viewTorvex = *base;
        viewer.timerWaitAndGo();
    }
}

// One planning step for the change from O (`oldViewTorvex`) to V (`viewTorvex`), both taken when the
// step starts. Rules are tried in order; the first that matches decides.
class ViewChangePlan {
public:
    explicit ViewChangePlan(TorvexView& viewer)
        : viewer_(viewer), v_(viewer.viewTorvex), o_(viewer.oldViewTorvex) {}

    void run() {
        if (contains(v_, o_))
            return;
        if (o_ != "Superior Limbic" && o_ != "Left Lateral") {
            if (auto base = baseViewOf(viewer_.ofViews, o_)) {
                routeTo(*base);
                viewer_.timerWaitAndGo();
                return;
            }
        }
        if (hasDot(o_) && o_ != "Right Lat.")
            return leaveDottedView();
        bool vPlain = !hasDot(v_) || v_ == "Right Lat.";
        bool vSimple = !isExplodedName(v_) && !hasDot(v_);
        if (o_ == "Anterior" && !isExplodedName(v_) && vPlain)
            return leaveFront();
        if (isLeft(o_) && vSimple)
            return turnOrPassFront(v_ == "Anterior", TurnBack, v_ == "Posterior", Turn);
        if (isRight(o_) && (!hasDot(v_) || o_ == "Right Lat."))
            return turnOrPassFront(v_ == "Anterior", Turn, v_ == "Posterior", TurnBack);
        if (isTop(o_) && vSimple)
            return turnOrPassFront(v_ == "Anterior", Tilt, false, Tilt);
        if (isBottom(o_) && vSimple)
            return turnOrPassFront(v_ == "Anterior", TiltBack, false, TiltBack);
        if (o_ == "Posterior" && !isExplodedName(v_) && vPlain)
            return leaveBack();
        if (o_ == "Anterior Xray" || o_ == "Anterior Skin") {
            routeTo("Anterior");
            if (v_ != "Anterior")
                viewer_.timerWaitAndGo();
            return;
        }
        planDerivedChange();
    }

private:
    void routeTo(const std::string& intermediate) {
        viewer_.tempView = v_;
        viewer_.viewTorvex = intermediate;
    }
    // Front and back are two turns apart, through the region's lateral view. A region without one turns
    // straight round: planning a turn to a lateral view that is not there would plan the same change
    // again, for ever.
    bool hasLateralView() const { return firstViewWhere(viewer_, isLateralName) != nullptr; }
    void turnToLateralOfRegion() {
        if (const TreeNode* lateral = firstViewWhere(viewer_, isLateralName))
            viewer_.viewTorvex = std::string(lateral->getHeader());
    }
    void arrowThenClose(ArrowDirection direction) {
        viewer_.newArrayArrows(direction);
        closingSteps(viewer_);
    }
    // Plays the arrow for the first step now, and goes on to `tempView` 1.25 s later.
    void continueJourney() {
        viewer_.arrowAnimation();
        viewer_.timerWaitAndGo();
        closingSteps(viewer_);
    }

    void turnOrPassFront(bool first, ArrowDirection firstArrow, bool second, ArrowDirection secondArrow) {
        if (first) {
            arrowThenClose(firstArrow);
        } else if (second) {
            arrowThenClose(secondArrow);
        } else {
            routeTo("Anterior");
            continueJourney();
        }
    }

    void leaveDottedView() {
        const TreeNode* left = viewer_.currentViewNamed(o_);
        if (!left)
            return closingSteps(viewer_);
        viewer_.tempView = v_;
        viewer_.oldViewTorvex = viewer_.viewTorvex = std::string(left->attribute("v"));
        viewer_.timerWaitAndGo();
    }

    void leaveFront() {
        if (isLeft(v_)) {
            arrowThenClose(Turn);
        } else if (isRight(v_)) {
            arrowThenClose(TurnBack);
        } else if (isTop(v_)) {
            arrowThenClose(TiltBack);
        } else if (isBottom(v_)) {
            arrowThenClose(Tilt);
        } else if (v_ == "Posterior" && !hasLateralView()) {
            arrowThenClose(Turn);
        } else if (v_ == "Posterior") {
            viewer_.tempView = v_;
            turnToLateralOfRegion();
            continueJourney();
        } else {
            closingSteps(viewer_);
        }
    }

    void leaveBack() {
        if (isLeft(v_))
            return arrowThenClose(TurnBack);
        if (isRight(v_))
            return arrowThenClose(Turn);
        if (!hasLateralView()) {
            if (v_ == "Anterior")
                return arrowThenClose(TurnBack);
            routeTo("Anterior");
            return continueJourney();
        }
        viewer_.tempView = v_;
        turnToLateralOfRegion();
        viewer_.arrowAnimation();
        viewer_.timerWaitAndGo();
    }

    // Exploded views, the skin and X-ray views entered from elsewhere, and views with a dot in their
    // name are reached through their base view.
    void planDerivedChange() {
        bool fromPlainView = o_ != "Anterior" && !isExplodedName(o_);
        if (fromPlainView && (v_ == "Anterior Skin" || v_ == "Anterior Xray")) {
            viewer_.viewTorvex = "Anterior";
            viewer_.tempView = v_;
            viewer_.arrowAnimation();
            if (v_ == "Anterior Xray")
                viewer_.timerWaitAndGo();
            return;
        }
        if (isExplodedName(v_))
            return enterExplodedView();
        if (isExplodedName(o_))
            return leaveExplodedView();
        if (!hasDot(v_) || v_ == "Right Lat.")
            return closingSteps(viewer_);
        const TreeNode* target = viewer_.currentViewNamed(v_);
        if (!target)
            return closingSteps(viewer_);
        std::string base(target->attribute("v"));
        if (o_ == base)
            return;
        viewer_.tstr = base;
        viewer_.needView = v_;
        viewer_.tempView = v_;
        viewer_.viewTorvex = base;
        viewer_.arrowAnimation();
    }

    void enterExplodedView() {
        const TreeNode* exploded = firstViewWhere(viewer_, isExplodedName);
        if (!exploded)
            return closingSteps(viewer_);
        std::string base(exploded->attribute("v"));
        if (o_ == base || (base == "-1" && o_ == withoutExp(v_)))
            return;
        viewer_.tempView = v_;
        viewer_.needView = v_;
        viewer_.viewTorvex = viewer_.tstr = base == "-1" ? withoutExp(v_) : base;
        viewer_.arrowAnimation();
    }

    void leaveExplodedView() {
        const TreeNode* exploded = firstViewWhere(viewer_, isExplodedName);
        if (!exploded)
            return closingSteps(viewer_);
        std::string base(exploded->attribute("v"));
        if (o_ == base)
            return;
        std::string returnTo = base == "-1" ? withoutExp(o_) : base;
        viewer_.oldViewTorvex = returnTo;
        viewer_.tempView = v_;
        viewer_.viewTorvex = returnTo;
        viewer_.timerWaitAndGo();
    }

    TorvexView& viewer_;
    const std::string v_, o_;
};

int planningDepth = 0;

} // namespace

void TorvexView::createArrow() {
    arrow = ui::make<ui::ImageView>(ui::Rect(0, 30, 320, 420));
    arrow->setIdentifier("arrow");
    view()->addSubview(arrow);
    // Full-screen frames: decoding them all took most of the viewer's loading, so each is decoded when
    // the arrow first shows it.
    arrow->setAnimationImages(arrowFrames, [](std::size_t index) {
        return ui::Bundle::main().image("arrows/" + std::to_string(index + 1) + ".png");
    });
    arrow->setAnimationDuration(arrowSeconds);
    arrow->setAnimationRepeatCount(1);
    arrow->setAlpha(0.8);
}

void TorvexView::newArrayArrows(int n) {
    if (!arrow)
        return;
    switch (n) {
    case Turn:
        arrow->setTransform(ui::AffineTransform::identity());
        break;
    case TurnBack:
        arrow->setTransform(ui::AffineTransform::rotation(-M_PI));
        break;
    case Tilt:
        arrow->setTransform(ui::AffineTransform::rotation(M_PI / 2).scaled(1, 1.31));
        break;
    case TiltBack:
        arrow->setTransform(ui::AffineTransform::rotation(-M_PI / 2).scaled(1, 1.31));
        break;
    default:
        return;
    }
    arrow->stopAnimating();
    arrow->startAnimating();
}

void TorvexView::arrowAnimation() {
    if (planningDepth >= deepestPlan) {
        std::cerr << "view change from \"" << oldViewTorvex << "\" to \"" << viewTorvex
                  << "\" loops through derived views; shown directly\n";
        return;
    }
    ++planningDepth;
    ViewChangePlan(*this).run();
    --planningDepth;
}
