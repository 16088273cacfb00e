// The monkey soak: the program on the sample atlas, offline, driven by random script lines drawn from
// what the screen shows, its invariants checked after every step; a failure gives the seed and a replay
// script (torvex --headless --bundle BUNDLE --home "$(mktemp -d)" --script FILE).
//     TORVEX_SOAK_SEEDS=20 TORVEX_SOAK_STEPS=5000 [TORVEX_SOAK_FIRST_SEED=1] build/test_soak

#include "tests/support/TemporaryFolder.h"
#include "tests/support/TestProgram.h"

#include "Classes/IndexViewController.h"
#include "Platform/AlertView.h"
#include "Platform/Control.h"
#include "Platform/Responder.h"
#include "Platform/RunLoop.h"
#include "Platform/SearchBar.h"
#include "Platform/TextField.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <random>
#include <set>
#include <unistd.h>

namespace {

using Broken = std::optional<std::string>;

std::string number(double value) {
    std::ostringstream text;
    text << std::round(value * 100) / 100;
    return text.str();
}

ui::Point screenCenter(const ui::View& view) {
    return view.convertTo(ui::Point{std::round(view.bounds().midX()), std::round(view.bounds().midY())},
                          nullptr);
}

// A point on screen where a tap reaches `view`.
bool reachable(ui::Point p, const ui::View& view) {
    if (p.x < 0 || p.y < 0 || p.x >= 320 || p.y >= 480)
        return false;
    ui::View* hit = ui::Application::shared().window()->hitTest(p);
    return hit && hit->isDescendantOf(&view);
}

void collectControls(ui::View& view, std::vector<ui::Control*>& controls) {
    if (view.isHidden() || view.alpha() <= 0.01 || !view.isUserInteractionEnabled())
        return;
    if (auto* control = dynamic_cast<ui::Control*>(&view); control && control->isEnabled())
        controls.push_back(control);
    for (const auto& subview : view.subviews())
        collectControls(*subview, controls);
}

// How much more often than a plain control the monkey presses a kind: the ones leading deeper first.
double controlWeight(const ui::Control& control) {
    const std::string& id = control.identifier();
    if (id == "buttons" || id == "hotSpotButtons" || id == "scalpel")
        return 4;
    if (id.rfind("flags", 0) == 0 || control.className() == "TableViewCell" || id == "startButton" ||
        id == "passButton" || control.className() == "Switch")
        return 3;
    return id == "backButton" || id == "viewButton" || id == "buttonForIndex" || id == "quizButton" ? 2 : 1;
}

class Monkey {
public:
    explicit Monkey(unsigned seed) : random_(seed) {}

    std::string nextStep(TestProgram& program) {
        if (ui::Application::shared().modalAlert() && chance(0.85))
            return answerAlert();
        if (dynamic_cast<ui::TextField*>(ui::Responder::firstResponder()) && chance(0.6))
            return typeOrKey(program);
        static const std::vector<double> weights = {36, 24, 14, 8, 5, 6};
        switch (std::discrete_distribution<int>(weights.begin(), weights.end())(random_)) {
        case 0:
            return pressSomeControl(program);
        case 1:
            return "wait " + number(chance(0.5)   ? between(0.02, 0.5)
                                    : chance(0.7) ? between(0.5, 2.0)
                                                  : between(2.0, 9.0));
        case 2:
            return swipe();
        case 3:
            return tap(between(0, 319), between(0, 479));
        case 4: {
            // Each draw in its own statement, so that a seed gives the same steps whatever the compiler.
            int x1 = between(0, 319), y1 = between(0, 479), x2 = between(0, 319), y2 = between(0, 479);
            return drag(x1, y1, x2, y2, between(0.02, 1.5));
        }
        default:
            return searchField(program);
        }
    }

private:
    // A press by title where the script can name the control, else a tap on its centre.
    std::string pressSomeControl(TestProgram& program) {
        std::vector<ui::Control*> controls;
        collectControls(*ui::Application::shared().window(), controls);
        std::vector<std::string> lines;
        std::vector<double> weights;
        for (ui::Control* control : controls) {
            ui::Point center = screenCenter(*control);
            if (!reachable(center, *control))
                continue;
            ui::ViewDescription description;
            control->describe(description);
            std::string title = description.title.empty() ? description.text : description.title;
            bool nameable = !title.empty() && title.find_first_of("\r\n") == std::string::npos &&
                            title.front() != ' ' && title.back() != ' ' &&
                            program.driver.findControl(title) == control;
            lines.push_back(nameable ? "press " + title : tap(center.x, center.y));
            weights.push_back(controlWeight(*control));
        }
        if (lines.empty())
            return tap(between(0, 319), between(0, 479));
        return lines[std::discrete_distribution<std::size_t>(weights.begin(), weights.end())(random_)];
    }

    std::string answerAlert() {
        auto buttons = ui::Application::shared().modalAlert()->description()["buttons"];
        if (buttons.empty())
            return "wait 0.1";
        return "alert " + buttons[any(buttons.size())].get<std::string>();
    }

    // The start of one of the index's terms, something odd, or an editing key.
    std::string typeOrKey(TestProgram& program) {
        static const std::vector<std::string> odd = {"a",    "Fe",      "zzz",  "\u03A9",   "日本語",
                                                     "🦴", "e\u0301", "%s%n", "'\";",     "\\",
                                                     "123",  "\xC3",    "ß",    "\u202Etxt"};
        double roll = between(0.0, 1.0);
        if (roll < 0.6) {
            TorvexView* viewer = program.viewer();
            const auto* index = viewer ? viewer->index().navigationController() : nullptr;
            std::string text = odd[any(odd.size())];
            if (index && !index->listContent().empty() && chance(0.5)) {
                const auto& terms = index->listContent();
                text = terms[any(terms.size())].substr(0, static_cast<std::size_t>(between(1, 6)));
                while (!text.empty() && (static_cast<unsigned char>(text.back()) & 0xC0) == 0x80)
                    text.pop_back(); // ends on a character boundary
            }
            if (!text.empty() && text.front() != ' ' && text.back() != ' ')
                return "type " + text;
        }
        return roll < 0.85 ? "key BackSpace" : roll < 0.93 ? "key Return" : "key Escape";
    }

    // A tap on the index's search field when it shows, so that typing follows.
    std::string searchField(TestProgram& program) {
        auto* index = program.viewer() ? program.viewer()->index().navigationController() : nullptr;
        if (!index || !index->mySearchBar)
            return pressSomeControl(program);
        ui::TextField& field = index->mySearchBar->textField();
        ui::Point center = screenCenter(field);
        return reachable(center, field) ? tap(center.x, center.y) : pressSomeControl(program);
    }

    // Long enough to turn the figure (more than 180 points across or 220 down), fast or slow.
    std::string swipe() {
        double seconds = chance(0.6) ? between(0.08, 0.35) : between(0.8, 2.0);
        bool across = chance(0.65);
        int length = across ? between(185, 290) : between(225, 420);
        int direction = chance(0.5) ? -1 : 1;
        int side = across ? 319 : 479;
        int from = direction < 0 ? between(length, side) : between(0, side - length);
        int to = from + direction * length;
        int other = across ? between(50, 430) : between(40, 280);
        int drift = across ? between(-80, 80) : between(-50, 50);
        int otherTo = std::clamp(other + drift, 0, across ? 479 : 319);
        return across ? drag(from, other, to, otherTo, seconds) : drag(other, from, otherTo, to, seconds);
    }

    static std::string tap(double x, double y) { return "tap " + number(x) + " " + number(y); }
    static std::string drag(int x1, int y1, int x2, int y2, double seconds) {
        return "drag " + std::to_string(x1) + " " + std::to_string(y1) + " " + std::to_string(x2) + " " +
               std::to_string(y2) + " " + number(seconds);
    }
    int between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
    double between(double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(random_);
    }
    std::size_t any(std::size_t size) {
        return static_cast<std::size_t>(between(0, static_cast<int>(size) - 1));
    }
    bool chance(double p) { return std::bernoulli_distribution(p)(random_); }

    std::mt19937 random_;
};

// The running program's invariants; touches are sampled on the clock too, to judge long waits within.
class Invariants {
public:
    // Touches come back this soon once no journey is pending: overlapping view changes take about 3 s.
    static constexpr double idleTouchlessLimit = 4.0;
    // A journey up, round and down again takes about 15 s at most on the sample atlas.
    static constexpr double journeyLimit = 30.0;
    // Twice what the busiest screens hold (about 140 views), so that nothing piles up.
    static constexpr int viewLimit = 300;

    explicit Invariants(TestProgram& program) : program_(program) { sampleTouches(); }

    Broken check() {
        int views = 0, alerts = 0, bubbles = 0;
        Broken geometry;
        census(*ui::Application::shared().window(), true, views, alerts, bubbles, geometry);
        if (views > viewLimit)
            return std::to_string(views) + " views in the window";
        if (alerts > 1 || bubbles > 1)
            return std::to_string(alerts) + " alerts and " + std::to_string(bubbles) + " bubbles at once";
        if (geometry)
            return geometry;
        TorvexView* viewer = program_.viewer();
        if (!viewer)
            return std::nullopt;
        if (regions_.empty()) {
            if (!TorvexView::isTopRegion(viewer->currentRegion()))
                return "the loaded viewer does not start at the top region";
            collectRegions(viewer->currentRegion());
        }
        if (!regions_.count(viewer->currentRegion()))
            return "root is not a region of the loaded tree";
        sampleTouchesNow();
        return touchesBroken_;
    }

private:
    static void census(const ui::View& view, bool shown, int& views, int& alerts, int& bubbles,
                       Broken& geometry) {
        ++views;
        shown = shown && !view.isHidden() && view.alpha() > 0.01;
        alerts += view.className() == "AlertView";
        bubbles += shown && view.identifier() == "hintOfFlag";
        const ui::Rect& r = view.frame();
        const ui::AffineTransform& m = view.transform();
        for (double v : {r.x(), r.y(), r.width(), r.height(), m.a, m.b, m.c, m.d, m.tx, m.ty}) {
            if (!geometry && !std::isfinite(v))
                geometry = "a frame or transform that is not finite: " + view.className();
        }
        for (const auto& subview : view.subviews())
            census(*subview, shown, views, alerts, bubbles, geometry);
    }

    // A region lists its sub-regions, "part" nodes, among its children.
    void collectRegions(const TreeNode* region) {
        regions_.insert(region);
        for (const auto& sub : TorvexView::subRegionsOf(region)) {
            if (sub->key == "part")
                collectRegions(sub.get());
        }
    }

    void sampleTouches() {
        ui::RunLoop::main().scheduleAfter(0.05, [this, alive = std::weak_ptr<bool>(alive_)] {
            if (!alive.expired()) {
                sampleTouchesNow();
                sampleTouches();
            }
        });
    }

    void sampleTouchesNow() {
        TorvexView* viewer = program_.viewer();
        if (!viewer || touchesBroken_)
            return;
        double now = ui::RunLoop::main().now();
        if (viewer->isViewLoaded() && viewer->view()->isUserInteractionEnabled()) {
            touchlessSince_.reset();
            return;
        }
        bool journey = viewer->journey().phase() != Journey::Phase::Idle;
        if (!touchlessSince_ || journey != inJourney_)
            touchlessSince_ = now;
        inJourney_ = journey;
        double off = now - *touchlessSince_;
        if (off > (journey ? journeyLimit : idleTouchlessLimit))
            touchesBroken_ = std::string(journey ? "a journey" : "with no journey pending, the viewer") +
                             " has held the touches for " + number(off) + " s";
    }

    TestProgram& program_;
    std::set<const TreeNode*> regions_;
    std::optional<double> touchlessSince_;
    bool inJourney_ = false;
    Broken touchesBroken_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

// A warning the program has no reason to give on its own atlas (missing fonts are the machine's, and a
// journey may leave another region's picture on screen, without thumbnail in the views chooser).
Broken unexpectedWarning(std::ostringstream& caught, const TorvexView* viewer) {
    std::istringstream lines(caught.str());
    caught.str("");
    for (std::string line; std::getline(lines, line);) {
        std::string missing = viewer ? "picture not in bundle: " + viewer->pictureFolder() + "/" : "\n";
        bool thumbnail = line.rfind(missing, 0) == 0 && line.find('/', missing.size()) == std::string::npos;
        if (!line.empty() && line.rfind("font family", 0) != 0 && !thumbnail)
            return "the program warned: " + line;
    }
    return std::nullopt;
}

int setting(const char* name, int fallback) {
    const char* text = std::getenv(name);
    return text && std::atoi(text) > 0 ? std::atoi(text) : fallback;
}

TEST(Soak, randomStepsKeepTheProgramsInvariants) {
    const int first = setting("TORVEX_SOAK_FIRST_SEED", 1), seeds = setting("TORVEX_SOAK_SEEDS", 4);
    for (unsigned seed = first; seed < static_cast<unsigned>(first + seeds); ++seed) {
        std::string scriptFile = (std::filesystem::temp_directory_path() /
                                  ("torvex-soak-" + std::to_string(::getpid()) + "-" + std::to_string(seed)))
                                     .string();
        std::ofstream script(scriptFile);
        std::ostringstream caught;
        std::streambuf* passedOn = std::cerr.rdbuf(caught.rdbuf());
        TemporaryFolder home;
        TestProgram program(TORVEX_BUILD_BUNDLE_DIR, home.path().string());
        program.launch();
        Invariants invariants(program);
        Monkey monkey(seed);
        Broken broken;
        int step = 0;
        while (!broken && ++step <= setting("TORVEX_SOAK_STEPS", 2000)) {
            std::string line = monkey.nextStep(program);
            // A line that cannot be carried out changes nothing; the replay leaves it out, since the
            // script reader would stop at it.
            if (!program.run(line))
                continue;
            script << line << std::endl;
            if (step % 97 == 0)
                program.driver.render(); // now and then, to keep the drawing under test
            broken = invariants.check();
            if (!broken)
                broken = unexpectedWarning(caught, program.viewer());
        }
        std::cerr.rdbuf(passedOn);
        if (!broken) {
            std::filesystem::remove(scriptFile);
            continue;
        }
        script << "state\n";
        script.close();
        ADD_FAILURE() << "seed " << seed << ", step " << step << ": " << *broken << "\nreplay script on "
                      << TORVEX_BUILD_BUNDLE_DIR << ": " << scriptFile << "\n"
                      << readFile(scriptFile);
    }
}

} // namespace
