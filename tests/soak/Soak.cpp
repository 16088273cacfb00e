#include "Soak.h"

#include "Classes/ForInfo.h"
#include "Classes/IndexViewController.h"
#include "Classes/StartViewController.h"
#include "Classes/TorvexContent.h"
#include "Classes/TorvexView.h"
#include "Platform/AlertView.h"
#include "Platform/Application.h"
#include "Platform/Bundle.h"
#include "Platform/Control.h"
#include "Platform/ImageView.h"
#include "Platform/Paths.h"
#include "Platform/Responder.h"
#include "Platform/RunLoop.h"
#include "Platform/Script.h"
#include "Platform/ScrollView.h"
#include "Platform/SearchBar.h"
#include "Platform/TextField.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr double screenWidth = 320, screenHeight = 480;
// Drawing every step would cost more than the rest of the step; now and then keeps the drawing code
// under test (and under the sanitizers).
constexpr int drawEvery = 97;

// ---- The tree of regions

// A region lists its views in its first child and its sub-regions, "part" nodes, in its last.
void collectRegions(const TreeNode* region, const std::string& path, std::set<const TreeNode*>* nodes,
                    std::set<std::string>* paths) {
    if (nodes)
        nodes->insert(region);
    if (paths)
        paths->insert(path);
    for (const auto& sub : TorvexView::subRegionsOf(region)) {
        if (sub->key == "part")
            collectRegions(sub.get(), path + "/" + std::string(sub->getHeader()), nodes, paths);
    }
}

// "Top/Sub/Subsub" for a region of the viewer's tree.
std::string regionPath(const TreeNode* region) {
    std::string path(region->getHeader());
    for (const TreeNode* node = region; !TorvexView::isTopRegion(node);) {
        node = TorvexView::ancestor(node, 2);
        if (!node)
            return "(no top region above) " + path;
        path = std::string(node->getHeader()) + "/" + path;
    }
    return path;
}

std::set<std::string> regionPathsOfBundle(const fs::path& bundle) {
    TorvexContent content(bundle);
    content.parseXMLFileAtFile("torvex.xml");
    content.carve();
    std::set<std::string> paths;
    if (content.root)
        collectRegions(content.root, std::string(content.root->getHeader()), nullptr, &paths);
    return paths;
}

// ---- The window's tree

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

bool finite(const ui::Rect& r) {
    return std::isfinite(r.x()) && std::isfinite(r.y()) && std::isfinite(r.width()) &&
           std::isfinite(r.height());
}

bool finite(const ui::AffineTransform& m) {
    return std::isfinite(m.a) && std::isfinite(m.b) && std::isfinite(m.c) && std::isfinite(m.d) &&
           std::isfinite(m.tx) && std::isfinite(m.ty);
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
    if (census.badGeometry.empty() && (!finite(view.frame()) || !finite(view.transform())))
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

// What the program shows, by name, for the coverage.
void observe(SoakProgram& program, SoakCoverage& coverage) {
    if (program.startScreenShown())
        coverage.screens.insert("start screen");
    if (auto* alert = ui::Application::shared().modalAlert())
        coverage.screens.insert("alert: " + alert->description().value("title", std::string()));
    TorvexView* viewer = program.viewer();
    if (!viewer || !viewer->root || !isVisible(viewer->view().get()))
        return;
    TorvexView& v = *viewer;
    std::string region = regionPath(v.root);
    coverage.regions.insert(region);
    coverage.views.insert(region + " / " + v.viewTorvex);
    auto& screens = coverage.screens;
    screens.insert("viewer");
    auto showsIn = [](const std::shared_ptr<ForInfo>& panel) {
        return panel && panel->superview() && panel->frame().x() < screenWidth && panel->frame().maxX() > 0;
    };
    if (showsIn(v.indexView))
        screens.insert(v.lang == "eng" ? "index" : "index (Latin)");
    if (v.navigationController && v.navigationController->mySearchBar &&
        !v.navigationController->mySearchBar->text().empty() && showsIn(v.indexView))
        screens.insert("index searched");
    if (!v.enterArray.empty())
        screens.insert("journey");
    if (showsIn(v.viewForQuiz))
        screens.insert("quiz areas");
    if (showsIn(v.forQuestion) && !v.Questions.empty())
        screens.insert("quiz question");
    if (v.labelForQuestion && v.labelForQuestion->text() == "Quiz completed" && showsIn(v.forQuestion))
        screens.insert("quiz completed");
    if ((v.helpView1 && v.helpView1->alpha() == 1 && v.helpView1->superview()) ||
        (v.helpView2 && v.helpView2->alpha() == 1 && v.helpView2->superview()))
        screens.insert("help");
    if (v.Info && v.Info->alpha() > 0)
        screens.insert("region information");
    if (v.hintOfFlag && isVisible(v.hintOfFlag.get()))
        screens.insert("bubble");
    if (v.forInfo && isVisible(v.forInfo.get()))
        screens.insert("detail panel");
    if (!v.flagsIsHidden)
        screens.insert("flags");
    if (v.isMagnified())
        screens.insert(v.zoomOn ? "magnification mode" : "magnified");
    if (v.typeViews && v.typeViews->frame().x() == 0)
        screens.insert("views strip");
    if (!v.blackBackground)
        screens.insert("white background");
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

} // namespace

// ---- SoakProgram

SoakProgram::SoakProgram(const fs::path& bundle) {
    char pattern[] = "/tmp/torvex-soak-home-XXXXXX";
    if (::mkdtemp(pattern))
        home_ = pattern;
    // As runMain does for --bundle and --home, before the toolkit starts afresh (at the default scale).
    ui::Bundle::main().setResourcePath(bundle.string());
    ui::Paths::setHome(home_.string());
    ui::Driver::resetToolkit();
    // The entry's delegate watches the content server and the default route, and fetches the start
    // content when online. Offline, the run depends on nothing outside the process; the start screen
    // then shows the bundle's titles and picture, as an online launch does when the server is down.
    delegate_ = std::make_unique<TorvexAppDelegate>(TorvexAppDelegate::ReachabilityTargets{"", ""});
    delegate_->applicationDidFinishLaunching(ui::Application::shared());
}

SoakProgram::~SoakProgram() {
    delegate_.reset();
    ui::Driver::resetToolkit();
    ui::Paths::setHome("");
    std::error_code ignored;
    if (!home_.empty())
        fs::remove_all(home_, ignored);
}

ui::Result SoakProgram::run(const std::string& line) {
    std::ostringstream printed;
    return ui::Script::runLine(line, driver_, printed);
}

TorvexView* SoakProgram::viewer() const {
    return delegate_->stViewContr ? delegate_->stViewContr->torvexViewController.get() : nullptr;
}

bool SoakProgram::startScreenShown() const {
    return delegate_->stViewContr && delegate_->stViewContr->view()->superview();
}

// ---- SoakCoverage

void SoakCoverage::add(const SoakCoverage& other) {
    regions.insert(other.regions.begin(), other.regions.end());
    views.insert(other.views.begin(), other.views.end());
    screens.insert(other.screens.begin(), other.screens.end());
    for (const auto& [kind, count] : other.steps)
        steps[kind] += count;
}

// ---- SoakInvariants

SoakInvariants::SoakInvariants(const fs::path& bundle) : regionPaths_(regionPathsOfBundle(bundle)) {}

void SoakInvariants::sampleTouches(SoakProgram& program) {
    ui::RunLoop::main().scheduleAfter(touchSampleInterval,
                                      [this, &program, alive = std::weak_ptr<bool>(alive_)] {
                                          if (alive.expired())
                                              return;
                                          sampleTouchesNow(program);
                                          sampleTouches(program);
                                      });
}

void SoakInvariants::sampleTouchesNow(SoakProgram& program) {
    if (TorvexView* viewer = program.viewer(); viewer && !touchesBroken_)
        touchesBroken_ = checkTouchesComeBack(*viewer, ui::RunLoop::main().now());
}

std::optional<std::string> SoakInvariants::check(SoakProgram& program) {
    if (auto broken = checkWindowTree())
        return broken;
    TorvexView* viewer = program.viewer();
    if (!viewer)
        return std::nullopt;
    if (auto broken = checkRoot(*viewer))
        return broken;
    sampleTouchesNow(program);
    return touchesBroken_;
}

std::optional<std::string> SoakInvariants::checkRoot(const TorvexView& viewer) {
    if (!viewer.root)
        return "the viewer has no region (root is null)";
    if (!topRegion_) {
        // The viewer starts at the top region, and nothing can move it before its first showing.
        if (!TorvexView::isTopRegion(viewer.root))
            return "the loaded viewer does not start at the top region";
        topRegion_ = viewer.root;
        collectRegions(topRegion_, std::string(topRegion_->getHeader()), &regions_, nullptr);
    }
    if (!regions_.count(viewer.root))
        return "root is not a region of the loaded tree: node \"" + std::string(viewer.root->key.view()) +
               "\" \"" + std::string(viewer.root->getHeader()) + "\"";
    std::string path = regionPath(viewer.root);
    if (!regionPaths_.count(path))
        return "root \"" + path + "\" is not a region of the bundle's data file";
    return std::nullopt;
}

std::optional<std::string> SoakInvariants::checkTouchesComeBack(const TorvexView& viewer, double now) {
    bool journey = !viewer.enterArray.empty() || viewer.isChangingView || viewer.backToStartBool;
    bool touchable =
        viewer.isViewLoaded() && const_cast<TorvexView&>(viewer).view()->isUserInteractionEnabled();
    if (touchable) {
        touchlessSince_.reset();
        journeySince_.reset();
        return std::nullopt;
    }
    if (journey) {
        touchlessSince_.reset();
        if (!journeySince_)
            journeySince_ = now;
        longestJourney_ = std::max(longestJourney_, now - *journeySince_);
        if (now - *journeySince_ > journeyLimit)
            return "a journey has held the touches for " + number(now - *journeySince_) + " s";
        return std::nullopt;
    }
    journeySince_.reset();
    if (!touchlessSince_)
        touchlessSince_ = now;
    double off = now - *touchlessSince_;
    longestIdleTouchless_ = std::max(longestIdleTouchless_, off);
    if (off > idleTouchlessLimit)
        return "no journey is pending, yet the viewer has taken no touches for " + number(off) + " s";
    return std::nullopt;
}

std::optional<std::string> SoakInvariants::checkWindowTree() {
    TreeCensus census;
    countViews(*ui::Application::shared().window(), true, census);
    mostViews_ = std::max(mostViews_, census.views);
    if (census.views > viewLimit)
        return std::to_string(census.views) + " views in the window (at most " + std::to_string(viewLimit) +
               " expected)";
    if (census.alerts > 1)
        return std::to_string(census.alerts) + " alerts shown at once";
    if (census.bubbles > 1)
        return std::to_string(census.bubbles) + " bubbles shown at once";
    if (!census.badGeometry.empty())
        return "a frame or transform that is not finite: " + census.badGeometry;
    return std::nullopt;
}

// ---- Monkey

std::vector<Monkey::Target> Monkey::touchableControls(SoakProgram& program) {
    std::vector<ui::Control*> controls;
    collectControls(*ui::Application::shared().window(), controls);
    std::vector<Target> targets;
    for (ui::Control* control : controls) {
        ui::Point center = screenCenter(*control);
        std::string title = controlTitle(*control);
        double weight = controlWeight(*control);
        if (onScreen(center) && reaches(center, *control) && pressableTitle(title) &&
            program.driver().findControl(title) == control) {
            targets.push_back({"press " + title, weight});
            continue;
        }
        ui::Point rounded{std::round(center.x), std::round(center.y)};
        if (onScreen(rounded) && reaches(rounded, *control))
            targets.push_back({tapLine(rounded), weight});
    }
    return targets;
}

std::string Monkey::pressSomeControl(SoakProgram& program) {
    std::vector<Target> targets = touchableControls(program);
    if (targets.empty())
        return tapAnywhere();
    std::vector<double> weights;
    for (const auto& target : targets)
        weights.push_back(target.weight);
    kind_ = "press control";
    return targets[std::discrete_distribution<std::size_t>(weights.begin(), weights.end())(random_)].line;
}

std::string Monkey::answerAlert() {
    kind_ = "alert";
    auto buttons = ui::Application::shared().modalAlert()->description()["buttons"];
    if (buttons.empty())
        return waitSome();
    return "alert " + buttons[static_cast<std::size_t>(between(0, static_cast<int>(buttons.size()) - 1))]
                          .get<std::string>();
}

std::string Monkey::typeOrKey(SoakProgram& program) {
    double roll = between(0.0, 1.0);
    if (roll < 0.6) {
        kind_ = "type";
        TorvexView* viewer = program.viewer();
        const auto* terms =
            viewer && viewer->navigationController ? &viewer->navigationController->listContent() : nullptr;
        std::string text;
        if (terms && !terms->empty() && chance(0.5)) {
            const std::string& term = (*terms)[static_cast<std::size_t>(between(0, int(terms->size()) - 1))];
            text = prefixOf(term, static_cast<std::size_t>(between(1, 6)));
        } else {
            text = searchTexts()[static_cast<std::size_t>(between(0, int(searchTexts().size()) - 1))];
        }
        if (pressableTitle(text))
            return "type " + text;
    }
    kind_ = "key";
    if (roll < 0.85)
        return "key BackSpace";
    return roll < 0.93 ? "key Return" : "key Escape";
}

// Taps the index's search field, so that typing follows.
std::string Monkey::search(SoakProgram& program) {
    TorvexView* viewer = program.viewer();
    if (!viewer || !viewer->navigationController || !viewer->navigationController->mySearchBar)
        return pressSomeControl(program);
    ui::TextField& field = viewer->navigationController->mySearchBar->textField();
    ui::Point center = screenCenter(field);
    ui::Point rounded{std::round(center.x), std::round(center.y)};
    if (!isVisible(&field) || !onScreen(rounded) || !reaches(rounded, field))
        return pressSomeControl(program);
    kind_ = "search";
    return tapLine(rounded);
}

std::string Monkey::tapAnywhere() {
    kind_ = "tap";
    return tapLine({static_cast<double>(between(0, 319)), static_cast<double>(between(0, 479))});
}

// Long enough to turn the figure (more than 180 points across or 220 down), fast or slow.
std::string Monkey::swipe() {
    kind_ = "swipe";
    double seconds = chance(0.6) ? between(0.08, 0.35) : between(0.8, 2.0);
    int x1, y1, x2, y2;
    if (chance(0.65)) {
        bool leftwards = chance(0.5);
        int length = between(185, 290);
        x1 = leftwards ? between(length, 319) : between(0, 319 - length);
        x2 = leftwards ? x1 - length : x1 + length;
        y1 = between(50, 430);
        y2 = std::clamp(y1 + between(-80, 80), 0, 479);
    } else {
        bool downwards = chance(0.5);
        int length = between(225, 420);
        y1 = downwards ? between(0, 479 - length) : between(length, 479);
        y2 = downwards ? y1 + length : y1 - length;
        x1 = between(40, 280);
        x2 = std::clamp(x1 + between(-50, 50), 0, 319);
    }
    return "drag " + std::to_string(x1) + " " + std::to_string(y1) + " " + std::to_string(x2) + " " +
           std::to_string(y2) + " " + number(seconds);
}

std::string Monkey::dragAnywhere() {
    kind_ = "drag";
    return "drag " + std::to_string(between(0, 319)) + " " + std::to_string(between(0, 479)) + " " +
           std::to_string(between(0, 319)) + " " + std::to_string(between(0, 479)) + " " +
           number(between(0.02, 1.5));
}

std::string Monkey::waitSome() {
    kind_ = "wait";
    double roll = between(0.0, 1.0);
    double seconds = roll < 0.5 ? between(0.02, 0.5) : roll < 0.85 ? between(0.5, 2.0) : between(2.0, 9.0);
    return "wait " + number(seconds);
}

std::string Monkey::nextStep(SoakProgram& program) {
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

// ---- Runs

SoakOutcome runSoak(unsigned seed, int steps, const fs::path& bundle, const fs::path& scriptFile) {
    SoakOutcome outcome;
    outcome.seed = seed;
    WarningCatcher warnings;
    SoakProgram program(bundle);
    SoakInvariants invariants(bundle);
    invariants.sampleTouches(program);
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
        ++outcome.coverage.steps[monkey.lastKind()];
        if (step % drawEvery == 0)
            program.driver().render();
        observe(program, outcome.coverage);
        outcome.failure = invariants.check(program);
        if (auto warning = warnings.takeUnexpected(program.viewer()); warning && !outcome.failure)
            outcome.failure = "the program warned: " + *warning;
    }
    outcome.mostViews = invariants.mostViews();
    outcome.longestIdleTouchless = invariants.longestIdleTouchless();
    outcome.longestJourney = invariants.longestJourney();
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

std::string coverageReport(const SoakCoverage& coverage, std::size_t regionsInAtlas) {
    std::ostringstream text;
    text << "regions " << coverage.regions.size() << "/" << regionsInAtlas << ", region views "
         << coverage.views.size() << ", screens " << coverage.screens.size() << " (";
    const char* separator = "";
    for (const auto& screen : coverage.screens) {
        text << separator << screen;
        separator = ", ";
    }
    text << "); steps by kind:";
    for (const auto& [kind, count] : coverage.steps)
        text << " " << kind << " " << count;
    return text.str();
}

std::size_t regionCount(const fs::path& bundle) {
    return regionPathsOfBundle(bundle).size();
}
