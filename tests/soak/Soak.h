#pragma once
// The monkey soak: the whole program, started as its entry starts it, on the built sample atlas, driven
// by random steps that are lines of the automation script, with the program's invariants checked after
// every step. A run that breaks one prints a script that replays it from the start:
//
//     torvex --headless --bundle BUNDLE --home "$(mktemp -d)" --script repro.script
//
// Steps are drawn from what the screen shows: presses of the visible controls (region titles, rings,
// flags, bar buttons, index rows, quiz switches, panel buttons), taps anywhere, drags and swipes fast and
// slow, waits short and long, typing into the index's search bar, and answers to the open alert.

#include "Classes/TorvexAppDelegate.h"
#include "Platform/Driver.h"

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <vector>

class TorvexView;
class TreeNode;

// The program as `torvex --headless --home HOME` runs it, in this process, on a virtual clock at 0.
class SoakProgram {
public:
    explicit SoakProgram(const std::filesystem::path& bundle);
    ~SoakProgram();
    SoakProgram(const SoakProgram&) = delete;
    SoakProgram& operator=(const SoakProgram&) = delete;

    // Carries out one script line as the script reader does.
    ui::Result run(const std::string& line);

    // The viewer, once the start screen has made it (0.2 s after launch).
    TorvexView* viewer() const;
    bool startScreenShown() const;
    ui::Driver& driver() { return driver_; }

private:
    std::filesystem::path home_;
    std::unique_ptr<TorvexAppDelegate> delegate_;
    ui::Driver driver_;
};

// What a run reached: regions, views and screens, by name.
struct SoakCoverage {
    std::set<std::string> regions;
    std::set<std::string> views; // "region / view"
    std::set<std::string> screens;
    std::map<std::string, int> steps; // steps taken, by kind

    void add(const SoakCoverage& other);
};

// The invariants of the running program. `check` returns what broke, or nothing.
class SoakInvariants {
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

    // How often the touches are sampled on the clock, so that a wait spanning several transitions is
    // judged by what happened within it rather than by its two ends. Sampling only reads.
    static constexpr double touchSampleInterval = 0.05;

    explicit SoakInvariants(const std::filesystem::path& bundle);
    // Starts sampling the touches of `program`, for as long as both live.
    void sampleTouches(SoakProgram& program);
    std::optional<std::string> check(SoakProgram& program);

    int mostViews() const { return mostViews_; }
    double longestIdleTouchless() const { return longestIdleTouchless_; }
    double longestJourney() const { return longestJourney_; }

private:
    std::optional<std::string> checkRoot(const TorvexView& viewer);
    std::optional<std::string> checkTouchesComeBack(const TorvexView& viewer, double now);
    std::optional<std::string> checkWindowTree();
    void sampleTouchesNow(SoakProgram& program);

    std::set<std::string> regionPaths_; // "Top/Sub/Subsub", from the bundle's own data file
    const TreeNode* topRegion_ = nullptr;
    std::set<const TreeNode*> regions_; // of the viewer's tree
    std::optional<double> touchlessSince_, journeySince_;
    std::optional<std::string> touchesBroken_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    int mostViews_ = 0;
    double longestIdleTouchless_ = 0, longestJourney_ = 0;
};

// Draws the next step from what the program shows.
class Monkey {
public:
    explicit Monkey(unsigned seed) : random_(seed) {}
    std::string nextStep(SoakProgram& program);
    // The kind of the last step drawn ("press", "tap", "swipe", ...).
    const std::string& lastKind() const { return kind_; }

private:
    struct Target {
        std::string line;
        double weight;
    };
    std::vector<Target> touchableControls(SoakProgram& program);
    std::string pressSomeControl(SoakProgram& program);
    std::string answerAlert();
    std::string typeOrKey(SoakProgram& program);
    std::string search(SoakProgram& program);
    std::string tapAnywhere();
    std::string swipe();
    std::string dragAnywhere();
    std::string waitSome();

    int between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
    double between(double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(random_);
    }
    bool chance(double p) { return std::bernoulli_distribution(p)(random_); }

    std::mt19937 random_;
    std::string kind_;
};

// One seed's run: `steps` steps, each checked. The script of the run is written to `scriptFile` as it
// goes (so that it outlives a crash) and returned in the outcome.
struct SoakOutcome {
    unsigned seed = 0;
    int stepsRun = 0;
    std::optional<std::string> failure;
    std::vector<std::string> script;
    SoakCoverage coverage;
    int mostViews = 0;
    double longestIdleTouchless = 0, longestJourney = 0;
};

SoakOutcome runSoak(unsigned seed, int steps, const std::filesystem::path& bundle,
                    const std::filesystem::path& scriptFile);

// The script that replays an outcome up to its last step, with comments saying how to run it.
std::string reproductionScript(const SoakOutcome& outcome, const std::filesystem::path& bundle);

// The coverage of a run for the log: "regions 14/18, views 40, screens 25 (...)".
std::string coverageReport(const SoakCoverage& coverage, std::size_t regionsInAtlas);
std::size_t regionCount(const std::filesystem::path& bundle);
