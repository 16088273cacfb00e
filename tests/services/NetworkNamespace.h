#pragma once
// Network namespaces for reachability tests: a scenario runs in a child process with a network of
// its own (only a loopback link, down, no routes), which it changes freely without touching the
// machine's real network.

#include <functional>
#include <string>

// Collects failed checks of a scenario that runs where GoogleTest's assertions cannot report.
class ScenarioChecks {
public:
    void check(bool ok, const std::string& what) {
        if (!ok)
            failures += what + "\n";
    }
    std::string failures;
};

struct ScenarioOutcome {
    enum class Result { Passed, Failed, Skipped } result;
    std::string report; // the failed checks, or why the scenario was skipped
};

ScenarioOutcome runInNewNetworkNamespace(const std::function<void(ScenarioChecks&)>& scenario);

// Changes to the namespace's network, through the classic interface ioctls; false on failure.
bool setLinkUp(const std::string& link);
bool renameLink(const std::string& from, const std::string& to);
// `gateway` empty: a route straight over `link`.
bool addRoute(const std::string& destination, int prefixLength, const std::string& link,
              const std::string& gateway = "");
bool deleteRoute(const std::string& destination, int prefixLength);

// Waits (at most two seconds) until `fd` has something to read.
bool waitReadable(int fd);
