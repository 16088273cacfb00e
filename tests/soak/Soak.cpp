#include "Soak.h"

#include "tests/support/TemporaryFolder.h"

#include "Classes/IndexViewController.h"
#include "Classes/StartViewController.h"
#include "Classes/TorvexView.h"
#include "Platform/AlertView.h"
#include "Platform/Application.h"
#include "Platform/Control.h"
#include "Platform/Responder.h"
#include "Platform/RunLoop.h"
#include "Platform/Script.h"
#include "Platform/SearchBar.h"
#include "Platform/TextField.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <initializer_list>
#include <iostream>
#include <nlohmann/json.hpp>
#include <random>
#include <set>
#include <sstream>

namespace fs = std::filesystem;

namespace {

constexpr double screenWidth = 320, screenHeight = 480;
// Drawing every step would cost more than the rest of the step; now and then keeps the drawing code
// under test (and under the sanitizers).
constexpr int drawEvery = 97;

// A region lists its views in its first child and its sub-regions, "part" nodes, in its last.
void collectRegions(const TreeNode* region, std::set<const TreeNode*>& nodes) {
    nodes.insert(region);
    for (const auto& sub : TorvexView::subRegionsOf(region)) {
        if (sub->key == "part")
            collectRegions(sub.get(), nodes);
    }
}

bool isShownAndTouchable(const ui::View& view) {
    return !view.isHidden() && view.alpha() > 0.01 && view.isUserInteractionEnabled();
}

void collectControls(ui::View& view, std::vector<ui::Control*>& controls) {
    if (!isShownAndTouchable(view))
        return;
    if (auto* control = dynamic_cast<ui::Control*>(&view); control && control->isEnabled())
        controls.push_back(control);
    for (const auto& subview : view.subviews())
        collectControls(*subview, controls);
}

bool isVisible(const ui::View* view) {
    for (; view; view = view->superview()) {
        if (view->isHidden() || view->alpha() <= 0.01)
            return false;
        if (!view->superview())
            return view == ui::Application::shared().window().get();
    }
    return false;
}

bool finite(std::initializer_list<double> values) {
    return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

bool finiteGeometry(const ui::View& view) {
    const ui::Rect& r = view.frame();
    const ui::AffineTransform& m = view.transform();
    return finite({r.x(), r.y(), r.width(), r.height(), m.a, m.b, m.c, m.d, m.tx, m.ty});
}

struct TreeCensus {
    int views = 0;
    int alerts = 0;
    int bubbles = 0;
    std::string badGeometry;
};

void countViews(const ui::View& view, bool shown, TreeCensus& census) {
    ++census.views;
    shown = shown && !view.isHidden() && view.alpha() > 0.01;
    if (view.className() == "AlertView")
        ++census.alerts;
    if (shown && view.identifier() == "hintOfFlag")
        ++census.bubbles;
    if (census.badGeometry.empty() && !finiteGeometry(view))
        census.badGeometry = view.className() + " \"" + view.identifier() + "\"";
    for (const auto& subview : view.subviews())
        countViews(*subview, shown, census);
}

std::string controlTitle(const ui::Control& control) {
    ui::ViewDescription description;
    control.describe(description);
    return description.title.empty() ? description.text : description.title;
}

// A title the script can carry: one line, nothing the reader would trim or take for a comment.
bool pressableTitle(const std::string& title) {
    if (title.empty() || title.find_first_of("\r\n") != std::string::npos)
        return false;
    return title.find_first_not_of(" \t") == 0 && title.find_last_not_of(" \t") == title.size() - 1;
}

ui::Point screenCenter(const ui::View& view) {
    const ui::Rect& b = view.bounds();
    return view.convertTo(ui::Point{b.midX(), b.midY()}, nullptr);
}

bool onScreen(ui::Point p) {
    return p.x >= 0 && p.y >= 0 && p.x < screenWidth && p.y < screenHeight;
}

bool reaches(ui::Point p, const ui::View& view) {
    ui::View* hit = ui::Application::shared().window()->hitTest(p);
    return hit && hit->isDescendantOf(&view);
}

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    std::string s = text;
    s.erase(s.find_last_not_of('0') + 1);
    if (s.back() == '.')
        s.pop_back();
    return s;
}

std::string tapLine(ui::Point p) {
    return "tap " + number(p.x) + " " + number(p.y);
}

// How much more often than a plain control the monkey presses a kind of control: the ones that lead
// somewhere deeper come first.
double controlWeight(const ui::Control& control) {
    const std::string& id = control.identifier();
    if (id == "buttons" || id == "hotSpotButtons" || id == "scalpel")
        return 4;
    if (id.rfind("flags", 0) == 0 || control.className() == "TableViewCell")
        return 3;
    if (id == "startButton" || id == "passButton" || control.className() == "Switch")
        return 3;
    if (id == "backButton" || id == "viewButton" || id == "buttonForIndex" || id == "quizButton" ||
        id == "flagButton")
        return 2;
    return 1;
}

const std::vector<std::string>& searchTexts() {
    static const std::vector<std::string> texts = {
        "a",    "A",      "Fe",     "fem",    "Femur",      "Arter",       "arteria", "Nervi", "Cor",
        "He",   "zzz",    "\u03A9", "\u00FC", "\u00DCnter", "日本語",      "🦴",    "é",     "e\u0301",
        "%s%n", "'\";--", "\\",     "0",      "123",        "Lymph nodes", "a b",     "\xC3",  "\xFF\xFE",
        "ß",    "İ",      "ǅ",      "ﬁ",      "\u200B",     "\u202Etxt",
    };
    return texts;
}

// A prefix of `term` that ends on a character boundary.
std::string prefixOf(const std::string& term, std::size_t bytes) {
    bytes = std::min(bytes, term.size());
    while (bytes > 0 && bytes < term.size() && (static_cast<unsigned char>(term[bytes]) & 0xC0) == 0x80)
        --bytes;
    return term.substr(0, bytes);
}

// Which fonts a machine has is no fault of the program.
bool isFontWarning(const std::string& line) {
    return line.rfind("font family", 0) == 0;
}

// The views chooser looks each thumbnail up in the folder of the picture on screen, by the view's file
// name with its folders taken out. When the region keeps its pictures in another folder (a journey
// entered a region that lacks the view on screen, and the picture stayed), no thumbnail is found, as
// the chooser is meant to behave.
bool isMissingThumbnail(const std::string& line, const TorvexView* viewer) {
    if (!viewer)
        return false;
    std::string prefix = "picture not in bundle: " + viewer->src + "/";
    return line.rfind(prefix, 0) == 0 && line.find('/', prefix.size()) == std::string::npos;
}

// Holds what the program writes to std::cerr, step by step, and passes it on.
class WarningCatcher {
public:
    WarningCatcher() : passedOn_(std::cerr.rdbuf(caught_.rdbuf())) {}
    ~WarningCatcher() { std::cerr.rdbuf(passedOn_); }
    WarningCatcher(const WarningCatcher&) = delete;
    WarningCatcher& operator=(const WarningCatcher&) = delete;

    // The first warning of the last step that the program has no reason to give on its own atlas,
    // offline.
    std::optional<std::string> takeUnexpected(const TorvexView* viewer) {
        std::string text = caught_.str();
        caught_.str("");
        std::ostream(passedOn_) << text;
        std::istringstream lines(text);
        for (std::string line; std::getline(lines, line);) {
            if (!line.empty() && !isFontWarning(line) && !isMissingThumbnail(line, viewer))
                return line;
        }
        return std::nullopt;
    }

private:
    std::ostringstream caught_;
    std::streambuf* passedOn_;
};

// The invariants of the running program, checked after every step; the touches are also sampled on the
// clock, so that a wait spanning several transitions is judged by what happened within it.
class Invariants {
public:
    // Interaction on the viewer comes back within this much clock time once no journey is pending. One
    // transition holds the touches for at most the cross-fade to another view (it starts 0.1 s after the
    // change and lasts 0.85 s). The longest chain is made of view changes that overlap: thumbnails
    // pressed within the 0.75 s before the first change takes the touches, each change with a second hop
    // 1.25 s after its first: about 3 s.
    static constexpr double idleTouchlessLimit = 4.0;
    // A journey (an index row, a quiz answer found) climbs to the top region, turns the figure and goes
    // down again, 1 to 1.35 s a step: about 15 s at most on the sample atlas.
    static constexpr double journeyLimit = 30.0;
    // Views in the window at once: twice what the sample atlas's busiest screens hold (about 140, with
    // the index open over a region with its flags, rings and quiz panels), so that nothing piles up.
    static constexpr int viewLimit = 300;
    static constexpr double touchSampleInterval = 0.05;

    // Samples the touches of `program` for as long as both live.
    explicit Invariants(TestProgram& program) : program_(program) { sampleTouches(); }

    std::optional<std::string> check() {
        if (auto broken = checkWindowTree())
            return broken;
        TorvexView* viewer = program_.viewer();
        if (!viewer)
            return std::nullopt;
        if (auto broken = checkRoot(*viewer))
            return broken;
        sampleTouchesNow();
        return touchesBroken_;
    }

private:
    void sampleTouches() {
        ui::RunLoop::main().scheduleAfter(touchSampleInterval, [this, alive = std::weak_ptr<bool>(alive_)] {
            if (alive.expired())
                return;
            sampleTouchesNow();
            sampleTouches();
        });
    }

    void sampleTouchesNow() {
        if (TorvexView* viewer = program_.viewer(); viewer && !touchesBroken_)
            touchesBroken_ = checkTouchesComeBack(*viewer, ui::RunLoop::main().now());
    }

    std::optional<std::string> checkRoot(const TorvexView& viewer) {
        if (!viewer.root)
            return "the viewer has no region (root is null)";
        if (regions_.empty()) {
            // The viewer starts at the top region, and nothing can move it before its first showing.
            if (!TorvexView::isTopRegion(viewer.root))
                return "the loaded viewer does not start at the top region";
            collectRegions(viewer.root, regions_);
        }
        if (!regions_.count(viewer.root))
            return "root is not a region of the loaded tree: node \"" + std::string(viewer.root->key.view()) +
                   "\" \"" + std::string(viewer.root->getHeader()) + "\"";
        return std::nullopt;
    }

    std::optional<std::string> checkTouchesComeBack(const TorvexView& viewer, double now) {
        bool journey = viewer.journey().phase() != Journey::Phase::Idle;
        bool touchable =
            viewer.isViewLoaded() && const_cast<TorvexView&>(viewer).view()->isUserInteractionEnabled();
        if (touchable) {
            touchlessSince_.reset();
            journeySince_.reset();
            return std::nullopt;
        }
        auto& since = journey ? journeySince_ : touchlessSince_;
        (journey ? touchlessSince_ : journeySince_).reset();
        if (!since)
            since = now;
        double off = now - *since;
        if (journey && off > journeyLimit)
            return "a journey has held the touches for " + number(off) + " s";
        if (!journey && off > idleTouchlessLimit)
            return "no journey is pending, yet the viewer has taken no touches for " + number(off) + " s";
        return std::nullopt;
    }

    static std::optional<std::string> checkWindowTree() {
        TreeCensus census;
        countViews(*ui::Application::shared().window(), true, census);
        if (census.views > viewLimit)
            return std::to_string(census.views) + " views in the window (at most " +
                   std::to_string(viewLimit) + " expected)";
        if (census.alerts > 1)
            return std::to_string(census.alerts) + " alerts shown at once";
        if (census.bubbles > 1)
            return std::to_string(census.bubbles) + " bubbles shown at once";
        if (!census.badGeometry.empty())
            return "a frame or transform that is not finite: " + census.badGeometry;
        return std::nullopt;
    }

    TestProgram& program_;
    std::set<const TreeNode*> regions_; // of the viewer's tree
    std::optional<double> touchlessSince_, journeySince_;
    std::optional<std::string> touchesBroken_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

// Draws the next step from what the program shows.
class Monkey {
public:
    explicit Monkey(unsigned seed) : random_(seed) {}

    std::string nextStep(TestProgram& program) {
        if (ui::Application::shared().modalAlert() && chance(0.85))
            return answerAlert();
        if (dynamic_cast<ui::TextField*>(ui::Responder::firstResponder()) && chance(0.6))
            return typeOrKey(program);
        enum Kind { Press, Wait, Swipe, Tap, Drag, Search };
        static const std::vector<double> weights = {36, 24, 14, 8, 5, 6};
        switch (std::discrete_distribution<int>(weights.begin(), weights.end())(random_)) {
        case Press:
            return pressSomeControl(program);
        case Wait:
            return waitSome();
        case Swipe:
            return swipe();
        case Tap:
            return tapAnywhere();
        case Drag:
            return dragAnywhere();
        default:
            return search(program);
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
            std::string title = controlTitle(*control);
            ui::Point rounded{std::round(center.x), std::round(center.y)};
            if (onScreen(center) && reaches(center, *control) && pressableTitle(title) &&
                program.driver.findControl(title) == control)
                lines.push_back("press " + title);
            else if (onScreen(rounded) && reaches(rounded, *control))
                lines.push_back(tapLine(rounded));
            else
                continue;
            weights.push_back(controlWeight(*control));
        }
        if (lines.empty())
            return tapAnywhere();
        return lines[std::discrete_distribution<std::size_t>(weights.begin(), weights.end())(random_)];
    }

    std::string answerAlert() {
        auto buttons = ui::Application::shared().modalAlert()->description()["buttons"];
        if (buttons.empty())
            return waitSome();
        return "alert " + buttons[static_cast<std::size_t>(any(buttons.size()))].get<std::string>();
    }

    // Text typed is the start of one of the index's terms or something odd.
    std::string typeOrKey(TestProgram& program) {
        double roll = between(0.0, 1.0);
        if (roll < 0.6) {
            TorvexView* viewer = program.viewer();
            const auto* terms = viewer && viewer->navigationController
                                    ? &viewer->navigationController->listContent()
                                    : nullptr;
            std::string text = searchTexts()[any(searchTexts().size())];
            if (terms && !terms->empty() && chance(0.5)) {
                const std::string& term = (*terms)[any(terms->size())];
                text = prefixOf(term, static_cast<std::size_t>(between(1, 6)));
            }
            if (pressableTitle(text))
                return "type " + text;
        }
        if (roll < 0.85)
            return "key BackSpace";
        return roll < 0.93 ? "key Return" : "key Escape";
    }

    // Taps the index's search field, so that typing follows.
    std::string search(TestProgram& program) {
        TorvexView* viewer = program.viewer();
        if (!viewer || !viewer->navigationController || !viewer->navigationController->mySearchBar)
            return pressSomeControl(program);
        ui::TextField& field = viewer->navigationController->mySearchBar->textField();
        ui::Point center = screenCenter(field);
        ui::Point rounded{std::round(center.x), std::round(center.y)};
        if (!isVisible(&field) || !onScreen(rounded) || !reaches(rounded, field))
            return pressSomeControl(program);
        return tapLine(rounded);
    }

    std::string tapAnywhere() {
        return tapLine({static_cast<double>(between(0, 319)), static_cast<double>(between(0, 479))});
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
        return across ? dragLine(from, other, to, otherTo, seconds)
                      : dragLine(other, from, otherTo, to, seconds);
    }

    // Each draw in its own statement, so that a seed gives the same steps whatever the compiler.
    std::string dragAnywhere() {
        int x1 = between(0, 319), y1 = between(0, 479), x2 = between(0, 319), y2 = between(0, 479);
        return dragLine(x1, y1, x2, y2, between(0.02, 1.5));
    }

    std::string waitSome() {
        double roll = between(0.0, 1.0);
        double seconds = roll < 0.5    ? between(0.02, 0.5)
                         : roll < 0.85 ? between(0.5, 2.0)
                                       : between(2.0, 9.0);
        return "wait " + number(seconds);
    }

    static std::string dragLine(int x1, int y1, int x2, int y2, double seconds) {
        return "drag " + std::to_string(x1) + " " + std::to_string(y1) + " " + std::to_string(x2) + " " +
               std::to_string(y2) + " " + number(seconds);
    }

    int between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
    double between(double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(random_);
    }
    // An index below `size`.
    std::size_t any(std::size_t size) {
        return static_cast<std::size_t>(between(0, static_cast<int>(size) - 1));
    }
    bool chance(double p) { return std::bernoulli_distribution(p)(random_); }

    std::mt19937 random_;
};

} // namespace

SoakOutcome runSoak(unsigned seed, int steps, const fs::path& bundle, const fs::path& scriptFile) {
    SoakOutcome outcome;
    outcome.seed = seed;
    WarningCatcher warnings;
    // Offline, the run depends on nothing outside the process; the start screen then shows the bundle's
    // titles and picture, as an online launch does when the server is down.
    TemporaryFolder home;
    TestProgram program(bundle.string(), home.path().string());
    program.launch();
    Invariants invariants(program);
    Monkey monkey(seed);
    std::ofstream script(scriptFile);
    for (int step = 1; step <= steps && !outcome.failure; ++step) {
        std::string line = monkey.nextStep(program);
        // A line that cannot be carried out changes nothing; the replay leaves it out, since the script
        // reader would stop at it.
        if (!program.run(line))
            continue;
        outcome.script.push_back(line);
        script << line << std::endl;
        outcome.stepsRun = step;
        if (step % drawEvery == 0)
            program.driver.render();
        outcome.failure = invariants.check();
        if (auto warning = warnings.takeUnexpected(program.viewer()); warning && !outcome.failure)
            outcome.failure = "the program warned: " + *warning;
    }
    return outcome;
}

std::string reproductionScript(const SoakOutcome& outcome, const fs::path& bundle) {
    std::ostringstream text;
    text << "# Monkey soak, seed " << outcome.seed << ", broken after step " << outcome.stepsRun << ": "
         << outcome.failure.value_or("nothing") << "\n"
         << "# Replay: torvex --headless --bundle " << bundle.string()
         << " --home \"$(mktemp -d)\" --script THIS_FILE\n"
         << "# The last line prints the state in which the run broke.\n";
    for (const auto& line : outcome.script)
        text << line << "\n";
    text << "state\n";
    return text.str();
}
