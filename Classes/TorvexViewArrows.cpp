// The rotation arrow, and the view changes it shows: `arrowAnimation` asks the view ring for the plan
// of the change from `oldViewTorvex` to `viewTorvex` and lets it act on the viewer.
#include "TorvexView.h"
#include "ViewRing.h"

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

// The plan's turns act on the viewer: the arrow plays, planning starts again from the intermediate
// view, and `timerWaitAndGo` goes on to `tempView`.
class ViewerTurns : public ViewRing::TurnActions {
public:
    explicit ViewerTurns(TorvexView& viewer) : viewer_(viewer) {}
    void playArrow(ViewRing::Turn turn) override { viewer_.newArrayArrows(turn); }
    void planAgain() override { viewer_.arrowAnimation(); }
    void goOnLater() override { viewer_.timerWaitAndGo(); }

private:
    TorvexView& viewer_;
};

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
    case ViewRing::TurnForward:
        arrow->setTransform(ui::AffineTransform::identity());
        break;
    case ViewRing::TurnBack:
        arrow->setTransform(ui::AffineTransform::rotation(-M_PI));
        break;
    case ViewRing::Tilt:
        arrow->setTransform(ui::AffineTransform::rotation(M_PI / 2).scaled(1, 1.31));
        break;
    case ViewRing::TiltBack:
        arrow->setTransform(ui::AffineTransform::rotation(-M_PI / 2).scaled(1, 1.31));
        break;
    default:
        return;
    }
    arrow->stopAnimating();
    arrow->startAnimating();
}

void TorvexView::planViewChange(const std::string& from, const std::string& to) {
    oldViewTorvex = from;
    viewTorvex = to;
    arrowAnimation();
}

void TorvexView::arrowAnimation() {
    if (planningDepth_ >= deepestPlan) {
        std::cerr << "view change from \"" << oldViewTorvex << "\" to \"" << viewTorvex
                  << "\" loops through derived views; shown directly\n";
        return;
    }
    ++planningDepth_;
    ViewRing::TurnState state = journey_.turnState(viewTorvex, oldViewTorvex);
    ViewerTurns turns(*this);
    viewRing().planTurn(state, turns, ofViews);
    --planningDepth_;
}
