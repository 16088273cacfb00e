#pragma once
// Property animations with UIKit's begin/commit blocks.
//
//     ui::Animation::begin(0.8);
//     ui::Animation::setDidStop([this] { endChangeLevel(); });
//     picture->setAlpha(0);            // reads back 0 at once; the screen fades over 0.8 s
//     other->setCenter({160, 240});
//     ui::Animation::commit();         // endChangeLevel runs 0.8 s later on the run loop clock
//
// Changes of alpha, centre, bounds, frame and transform (and so a scroll view's content offset) made
// while a block is open animate from what the screen shows now to the new model value, ease in, ease
// out. A new animation of the same property of the same view replaces the running one, starting from
// where the screen is. Blocks nest; a change uses the innermost block's duration, and each block's
// did-stop runs exactly its duration after its commit, also when the view went away meanwhile.
//
// A transition turns a whole view over: inside a block, `setTransition(Transition::FlipFromRight,
// window)` takes a picture of the view as it is; the changes that follow (say, swapping screens) show on
// the back of the turning view, which is what the screen shows at the end.

#include "Platform/PropertyAnimation.h"

#include <functional>

namespace ui {

class View;

class Animation {
public:
    static void begin(Float duration = 0.2);
    static void setDidStop(std::function<void()> didStop);
    static void setTransition(Transition transition, View* view);
    static void commit();

    // begin(duration), changes(), setDidStop(didStop), commit().
    static void run(Float duration, const std::function<void()>& changes, std::function<void()> didStop = {});

    // A block is open, and the duration that a change made now would get.
    static bool isOpen();
    static Float openDuration();

    // Something on screen moves now (a property animation or a transition).
    static bool isRunning();
    // Closes every open block without committing and forgets every running animation (tests).
    static void reset();

private:
    friend class View;
    static void noteRunning(View& view);
};

} // namespace ui
