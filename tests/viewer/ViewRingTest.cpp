// The view ring's rules as tables: where each swipe turns to, which hint arrows blink, how changes chain.
#include "Classes/ViewRing.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Direction = ViewRing::Direction;

const std::vector<std::string> limb = {"Anterior", "Lateral", "Posterior", "Medial", "Superior", "Inferior"};
const std::vector<std::string> foot = {"Anterior",   "Left Side", "Posterior",
                                       "Right Side", "Dorsal",    "Plantar"};
const std::vector<std::string> frontOnly = {"Anterior", "Superior"};
const std::vector<std::string> lateralOnly = {"Lateral"};
const std::vector<std::string> namedMedially = {"Anterior", "Lateral", "Posterior", "Medial Aspect"};

struct Row {
    const std::vector<std::string>* views;
    std::string view, vparam;
    // Where a left, right, down and up swipe turn ("" nowhere); arrows blinking ("LRUD", "-" for none).
    std::string left, right, down, up, arrows;
};

const Row rows[] = {
    {&limb, "Anterior", "", "Lateral", "Medial", "Superior", "Inferior", "LRUD"},
    {&limb, "Lateral", "", "Posterior", "Anterior", "", "", "LR--"},
    {&limb, "Posterior", "", "Medial", "Lateral", "", "", "LR--"},
    {&limb, "Medial", "", "Anterior", "Posterior", "", "", "LR--"},
    {&limb, "Superior", "", "", "", "", "Anterior", "--U-"},
    {&limb, "Inferior", "", "", "", "Anterior", "", "---D"},
    {&limb, "Anterior Skin", "", "Lateral", "Medial", "Superior", "Inferior", "LRUD"},
    {&limb, "Anterior.1", "Posterior", "Medial", "Lateral", "", "", "LR--"},
    {&limb, "Lateral Explode", "", "Posterior", "Anterior", "", "", "-R--"},
    {&lateralOnly, "Lateral", "", "", "", "", "", "----"},
    {&foot, "Anterior", "", "Left Side", "Right Side", "Dorsal", "Plantar", "LRUD"},
    {&foot, "Right Side", "", "Anterior", "Posterior", "", "", "LR--"},
    {&foot, "Posterior", "", "Right Side", "Left Side", "", "", "LR--"},
    {&foot, "Dorsal", "", "", "", "", "Anterior", "--U-"},
    {&foot, "Right Lat.", "Inferior", "Anterior", "Posterior", "Anterior", "", "---D"},
    {&frontOnly, "Anterior", "", "", "", "Superior", "", "---D"},
    // A swipe knows the right view only by its exact name; the arrows take any name with "Medial".
    {&namedMedially, "Posterior", "", "", "Lateral", "", "", "LR--"},
    {&namedMedially, "Anterior", "", "Lateral", "", "", "", "LR--"},
    {&namedMedially, "Medial Aspect", "", "Anterior", "", "", "", "L---"},
};

std::string turnOrNothing(const ViewRing& ring, Direction direction) {
    if (auto next = ring.neighbour(direction))
        return *next;
    if (auto front = ring.tiltBack(direction))
        return *front;
    return "";
}

std::string blinking(const ViewRing& ring) {
    std::array<bool, 4> arrows = ring.hintArrows();
    std::string shown = "LRUD";
    for (std::size_t k = 0; k < arrows.size(); ++k) {
        if (!arrows[k])
            shown[k] = '-';
    }
    return shown;
}

// Plays a plan as the viewer does, planning again at once, and records what it did.
struct RecordedTurns : ViewRing::TurnActions {
    RecordedTurns(const ViewRing& ring, ViewRing::TurnState& state) : ring(ring), state(state) {}
    void playArrow(ViewRing::Turn turn) override { arrows += std::to_string(turn); }
    void planAgain() override { ring.planTurn(state, *this, bases); }
    void goOnLater() override { ++later; }

    const ViewRing& ring;
    ViewRing::TurnState& state;
    std::vector<std::string> bases = {"Dorsal",  "Plantar", "Superior",  "Inferior",
                                      "Lateral", "Medial",  "Posterior", "Anterior"};
    std::string arrows;
    int later = 0;
};

struct PlanRow {
    const std::vector<ViewRing::View>* views;
    std::string from, to;
    // The arrows played, the view shown first, the one 1.25 s later, how often the plan went on.
    std::string arrows, shown, next;
    int later;
};

const std::vector<ViewRing::View> ring = {{"Anterior", ""}, {"Lateral", ""},  {"Posterior", ""},
                                          {"Medial", ""},   {"Superior", ""}, {"Anterior Exp", "Anterior"}};
const std::vector<ViewRing::View> backExploded = {
    {"Anterior", ""}, {"Lateral", ""}, {"Posterior", ""}, {"Posterior Exp", "-1"}};
const std::vector<ViewRing::View> noLateral = {{"Anterior", ""}, {"Posterior", ""}};

const PlanRow plans[] = {
    {&ring, "Anterior", "Lateral", "1", "Lateral", "", 0},
    {&ring, "Anterior", "Medial", "2", "Medial", "", 0},
    {&ring, "Anterior", "Superior", "4", "Superior", "", 0},
    {&ring, "Superior", "Anterior", "3", "Anterior", "", 0},
    // Front and back are two turns apart, through the lateral view.
    {&ring, "Anterior", "Posterior", "1", "Lateral", "Posterior", 1},
    {&ring, "Posterior", "Anterior", "2", "Lateral", "Anterior", 1},
    {&noLateral, "Anterior", "Posterior", "1", "Posterior", "", 0},
    {&ring, "Lateral", "Medial", "2", "Anterior", "Medial", 1},
    // An exploded view is reached through its base view.
    {&ring, "Lateral", "Anterior Exp", "2", "Anterior", "Anterior Exp", 1},
    // From the front, an exploded back view turns through the side to the back first.
    {&backExploded, "Anterior", "Posterior Exp", "1", "Lateral", "Posterior", 1},
};

} // namespace

TEST(ViewRing, plansAChangeAsAChainOfNeighbouringTurns) {
    for (const PlanRow& row : plans) {
        std::string view = row.to, oldView = row.from, tempView, needView, tstr;
        ViewRing::TurnState state{view, oldView, tempView, needView, tstr};
        ViewRing planner(view, "", {}, *row.views);
        RecordedTurns turns(planner, state);
        planner.planTurn(state, turns, turns.bases);
        SCOPED_TRACE(row.from + " -> " + row.to);
        EXPECT_EQ(turns.arrows, row.arrows);
        EXPECT_EQ(view, row.shown);
        EXPECT_EQ(tempView, row.next);
        EXPECT_EQ(turns.later, row.later);
    }
}

TEST(ViewRing, turnsEachSwipeToItsNeighbourAndShowsTheArrowsThatLeadSomewhere) {
    for (const Row& row : rows) {
        std::vector<ViewRing::View> views;
        for (const auto& name : *row.views)
            views.push_back({name, ""});
        ViewRing ring(row.view, row.vparam, *row.views, views);
        SCOPED_TRACE(row.view + " among " + std::to_string(row.views->size()) + " views");
        EXPECT_EQ(turnOrNothing(ring, Direction::Left), row.left);
        EXPECT_EQ(turnOrNothing(ring, Direction::Right), row.right);
        EXPECT_EQ(turnOrNothing(ring, Direction::Down), row.down);
        EXPECT_EQ(turnOrNothing(ring, Direction::Up), row.up);
        EXPECT_EQ(blinking(ring), row.arrows);
    }
}
