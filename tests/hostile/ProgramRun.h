#pragma once
// The real program, run headless on a bundle with a script, as a user's automation would run it:
//
//     ProgramRun run = runProgram(bundle, "wait 0.3\nstate\ntap 160 420\nwait 1\nstate\n");
//     EXPECT_TRUE(run.exitedNormally()) << run.describe();
//     EXPECT_THAT(run.errors, HasSubstr("atlas/HumanBody/Anterior.png"));
//
// Every run is bounded: the script moves only the virtual clock, and a run that has not ended after
// `wallSeconds` of real time is killed and counts as a hang. Outside the sanitizer build the
// program also gets an address space limit, so that a run that would exhaust the machine's memory
// fails on its own instead.

#include "HostileBundle.h"

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

struct ProgramRun {
    int exitStatus = -1; // the program's exit status, or -1 when it did not exit by itself
    int signal = 0;      // the signal that ended it, 0 when none did
    bool timedOut = false;
    std::string output, errors;
    double peakMegabytes = 0; // the program's maximum resident set
    double wallSeconds = 0;
    double processorSeconds = 0; // the program's user and system time, which a busy machine does not inflate

    bool exitedNormally() const { return exitStatus == 0 && !timedOut; }
    // The JSON lines of `state` and `dump`, in order.
    std::vector<nlohmann::json> states() const;
    std::string describe() const;
};

struct RunLimits {
    double wallSeconds = 120;
    double addressSpaceMegabytes = 6144;
};

ProgramRun runProgram(const HostileBundle& bundle, const std::string& script, RunLimits limits = {});
