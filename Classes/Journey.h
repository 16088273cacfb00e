#pragma once
// The viewer's journey to an indexed structure, and the waits of multi-step view changes. A journey
// climbs to the top region, then works through a queue of steps, one per timer tick, the last first:
//
//     step (queued node)   does                                              next tick
//     region ("part")      enters it with the entering transition            1.25 s
//     view ("view")        on screen: leaves the queue                       0.4 s
//                          asked for and still coming: waits                 1.25 s
//                          else chooses it in the views chooser              1.3 s
//     point ("point")      opens its bubble; the journey ends                -
//
// Its phase, from the flags the program has always shown under these names:
//
//     isChangingView  backToStartBool  queue      phase
//     set             -                -          Climbing (with `back`, until it hands over)
//     -               set              -          ClimbingToTop (one region a second)
//     clear           clear            not empty  Descending
//     clear           clear            empty      Idle
//
// Everything runs on the run loop's timers; the journey acts on the viewer only through `Actions`, so
// it runs without one. Timers still due when the journey goes do nothing.

#include "Classes/ViewRing.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TreeNode;

class Journey {
public:
    enum class Phase { Idle, Climbing, ClimbingToTop, Descending };

    // What the journey does to the viewer.
    struct Actions {
        std::function<bool()> atTopRegion;
        std::function<std::string()> currentView;
        std::function<void(bool on)> setTouches;
        std::function<void()> back;
        std::function<void(const TreeNode& region)> enterRegion;
        std::function<void(const std::string& view)> chooseView;
        std::function<void(TreeNode& point)> openBubble;
    };

    explicit Journey(Actions actions);

    // Queues `steps` (deepest first) and sets off 1.25 s later: climbing with `back` region by region
    // when the parent region lacks the view on screen, else straight to the top; from the top the
    // first step follows after 1 s.
    void start(const std::vector<TreeNode*>& steps, bool parentOffersView);
    // Climbs one region a second to the top, then takes the next step (`backToStart`).
    void climbToTop();
    // Takes the step at the end of the queue (`waitSecondAndEnterToPart`).
    void takeNextStep();

    // ---- What the viewer tells the journey
    // A region was shown in `view`: the view a climbing journey chose is there, so it climbs on.
    void regionShown(const std::string& view);
    // A turn to `view` was shown: a "Superior" view restored on the way back goes back once more.
    void turnShown(const std::string& view);
    // `back` goes up a region (or turns first): a climbing journey climbs on to the top 1.3 s later.
    void handOverClimb();
    // `back` restores `view` before going up, and goes up 1.3 s later.
    void restoringViewBeforeBack(const std::string& view);
    void backLater();
    // The views chooser asks for `view`; the change is shown 0.75 s later (`viewChangeDone`).
    void viewChosen(const std::string& view);
    // A planned turn goes on to `tempView` later; `viewChangeDone` when it has.
    void viewChangeAhead();
    void viewChangeDone();
    // A turn went on to `tempView`: the view a step asked for has arrived.
    void arrivedAt(const std::string& view);

    // ---- State, under the names the automation reads
    Phase phase() const;
    bool isChangingView() const { return climbing_; }
    bool backToStartBool() const { return climbingToTop_; }
    bool backTwo() const { return backTwo_; }
    const std::vector<TreeNode*>& enterArray() const { return steps_; }
    const std::string& itsNeedView() const { return itsNeedView_; }
    const std::string& tempView() const { return tempView_; }
    const std::string& needView() const { return needView_; }
    const std::string& tstr() const { return tstr_; }
    // The view names a turn's plan rewrites, beside the viewer's own two.
    ViewRing::TurnState turnState(std::string& view, std::string& oldView);
    // Loading ends with no journey under way.
    void stopClimbing() { climbing_ = false; }

private:
    void after(double seconds, void (Journey::*step)());
    void goBack();

    Actions actions_;
    std::vector<TreeNode*> steps_; // consumed from the end
    bool climbing_ = false, climbingToTop_ = false, backTwo_ = false;
    std::string itsNeedView_, tempView_, needView_, tstr_;
    // Steps of view changes still to come. A journey waits for the view it asked for only while some
    // are pending: a change the user started meanwhile may have taken the figure elsewhere, and then
    // the journey asks again.
    int viewStepsPending_ = 0;
    std::shared_ptr<const int> lifetime_ = std::make_shared<const int>(0);
};
