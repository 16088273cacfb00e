#pragma once
// The ring of named views around the "Anterior" hub, as swipes, hint arrows and view changes see it:
//
//                      top ("Superior", "Dorsal")
//     left ("Lateral") <- Anterior ->  right ("Medial", "Right Side")      Posterior behind
//                     bottom ("Inferior", "Plantar")
//
// Derived views (skin, X-ray, exploded, names with a dot) hang off a base view. A ring is a snapshot:
// the current view V, the "v" P of the view entered last, and the region's views. It answers the
// neighbour a swipe turns to, the hint arrows that show where a swipe would go, and plans a change
// between two views as a chain of neighbouring turns.
//
// The three users test the right group differently, and each keeps its test: a swipe turns to a
// view named exactly "Medial", while the hint arrows and the planner take any name containing it.

#include <array>
#include <optional>
#include <string>
#include <vector>

class ViewRing {
public:
    enum class Direction { Left, Right, Down, Up };
    // The hint arrows, by their place in the viewer's list: pointing left, right, up and down.
    enum HintArrow { PointsLeft = 0, PointsRight = 1, PointsUp = 2, PointsDown = 3 };
    // The rotation arrow's directions:
    //     1  Turn      Anterior -> left lateral -> Posterior -> medial/right -> Anterior
    //     2  TurnBack  the opposite way
    //     3  Tilt      Anterior -> bottom view, top view -> Anterior
    //     4  TiltBack  Anterior -> top view, bottom view -> Anterior
    enum Turn { TurnForward = 1, TurnBack = 2, Tilt = 3, TiltBack = 4 };

    // A view of the region: its "header" and its "v".
    struct View {
        std::string name, base;
    };

    // `keys` are the names of the region's plain views (those the views chooser offers), `views` all
    // of its views in order.
    ViewRing(std::string current, std::string vparam, std::vector<std::string> keys, std::vector<View> views);

    // The view a swipe turns to, by the first rule of its direction that applies; none when that rule
    // finds nothing. A down or up swipe may then also tilt back to the front: ask `tiltBack` afresh.
    std::optional<std::string> neighbour(Direction direction) const;
    std::optional<std::string> tiltBack(Direction direction) const;
    // Which hint arrows blink for the view on screen.
    std::array<bool, 4> hintArrows() const;

    // What a view change acts on: the viewer's view names, which the plan rewrites as it goes.
    struct TurnState {
        std::string& view;     // `viewTorvex`
        std::string& oldView;  // `oldViewTorvex`
        std::string& tempView; // the view to go on to next
        std::string& needView; // the derived view the change is for
        std::string& tstr;     // the base view a derived target is reached through
    };
    // What a plan does: play the arrow, plan again from the new view (playing the arrow of the first
    // step), and go on to `tempView` 1.25 s later.
    struct TurnActions {
        virtual ~TurnActions() = default;
        virtual void playArrow(Turn turn) = 0;
        virtual void planAgain() = 0;
        virtual void goOnLater() = 0;
    };
    // One planning step of the change from `oldView` to `view`; `bases` is the base-name list.
    void planTurn(TurnState& state, TurnActions& actions, const std::vector<std::string>& bases) const;

    static bool isLeft(const std::string& name);
    static bool isRight(const std::string& name);
    static bool isTop(const std::string& name);
    static bool isBottom(const std::string& name);
    const std::vector<View>& views() const { return views_; }

private:
    bool isFront() const;
    bool isLeftOrBase() const;
    bool offers(const std::string& name) const;
    std::optional<std::string> firstKey(bool (*test)(const std::string&)) const;
    bool anyKey(bool (*test)(const std::string&)) const;
    std::optional<std::string> ifOffered(const std::string& name) const;
    std::optional<std::string> swipeLeft() const;
    std::optional<std::string> swipeRight() const;

    std::string v_, p_;
    std::vector<std::string> keys_;
    std::vector<View> views_;
};
