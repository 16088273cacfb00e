#pragma once
// The monkey soak: the whole program, started as its entry starts it, on the built sample atlas, driven
// by random steps that are lines of the automation script, with the program's invariants checked after
// every step. A run that breaks one prints a script that replays it from the start:
//
//     torvex --headless --bundle BUNDLE --home "$(mktemp -d)" --script repro.script
//
// Steps are drawn from what the screen shows: presses of the visible controls, taps anywhere, drags and
// swipes fast and slow, waits short and long, typing into the index's search bar, and answers to the
// open alert.

#include "tests/support/TestProgram.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// One seed's run: `steps` steps, each checked. The script of the run is written to `scriptFile` as it
// goes (so that it outlives a crash) and returned in the outcome.
struct SoakOutcome {
    unsigned seed = 0;
    int stepsRun = 0;
    std::optional<std::string> failure;
    std::vector<std::string> script;
};

SoakOutcome runSoak(unsigned seed, int steps, const std::filesystem::path& bundle,
                    const std::filesystem::path& scriptFile);

// The script that replays an outcome up to its last step, with comments saying how to run it.
std::string reproductionScript(const SoakOutcome& outcome, const std::filesystem::path& bundle);
