// The monkey soak over the whole program (see Soak.h). The default run is a few seeds of a couple of
// thousand steps; longer soaks are set by environment variables:
//
//     TORVEX_SOAK_SEEDS       how many seeds (default 4)
//     TORVEX_SOAK_STEPS       steps per seed (default 2000)
//     TORVEX_SOAK_FIRST_SEED  the first seed; the others follow it (default 1)
//
//     TORVEX_SOAK_SEEDS=20 TORVEX_SOAK_STEPS=5000 build/test_soak
//
// A broken invariant fails the test with the seed, the step and a script that replays the run up to
// that step; the script is also left in the temporary folder. While a seed runs, its script so far is
// written to the temporary folder too, so that a run that dies leaves its replay behind.

#include "Soak.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

int setting(const char* name, int fallback) {
    const char* text = std::getenv(name);
    if (!text || !*text)
        return fallback;
    char* end = nullptr;
    long value = std::strtol(text, &end, 10);
    return *end == '\0' && value > 0 ? static_cast<int>(value) : fallback;
}

fs::path scriptFileFor(unsigned seed) {
    return fs::temp_directory_path() /
           ("torvex-soak-" + std::to_string(::getpid()) + "-seed" + std::to_string(seed) + ".script");
}

TEST(Soak, randomStepsKeepTheProgramsInvariants) {
    const fs::path bundle = TORVEX_BUILD_BUNDLE_DIR;
    const int seeds = setting("TORVEX_SOAK_SEEDS", 4);
    const int steps = setting("TORVEX_SOAK_STEPS", 2000);
    const auto firstSeed = static_cast<unsigned>(setting("TORVEX_SOAK_FIRST_SEED", 1));

    for (unsigned seed = firstSeed; seed < firstSeed + static_cast<unsigned>(seeds); ++seed) {
        fs::path scriptFile = scriptFileFor(seed);
        SoakOutcome outcome = runSoak(seed, steps, bundle, scriptFile);
        if (!outcome.failure) {
            fs::remove(scriptFile);
            continue;
        }
        std::ofstream(scriptFile) << reproductionScript(outcome, bundle);
        ADD_FAILURE() << "seed " << seed << ", step " << outcome.stepsRun << ": " << *outcome.failure
                      << "\nreplay script (also in " << scriptFile.string() << "):\n"
                      << reproductionScript(outcome, bundle);
    }
}

} // namespace
