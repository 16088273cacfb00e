#pragma once
// Network namespaces for reachability tests: a scenario runs in a child process with a network of
// its own (only a loopback link, down, no routes), which it changes freely with `ip` without touching
// the machine's real network. Header-only, so that every test group may use it.

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <poll.h>
#include <sched.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

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

inline ScenarioOutcome runInNewNetworkNamespace(const std::function<void(ScenarioChecks&)>& scenario);
// The same inside a test: the test fails with the failed checks, or is skipped where no namespace can be
// made.

// Changes the namespace's network with the `ip` command ("route add 10.0.0.0/8 dev lo"); false when
// it fails.
inline bool ip(const std::string& arguments) {
    return std::system(("ip " + arguments + " >/dev/null 2>&1").c_str()) == 0;
}

// Waits (at most two seconds) until `fd` has something to read.
inline bool waitReadable(int fd) {
    pollfd watched{fd, POLLIN, 0};
    int ready;
    do
        ready = ::poll(&watched, 1, 2000);
    while (ready < 0 && errno == EINTR);
    return ready > 0;
}

namespace network_namespace_detail {

inline constexpr int skippedExitCode = 77;

inline std::string enterNewNetworkNamespace() {
    if (::unshare(CLONE_NEWNET) == 0)
        return "";
    int direct = errno;
    // Without the privilege, a user namespace of our own grants it inside.
    if (::unshare(CLONE_NEWUSER | CLONE_NEWNET) == 0)
        return "";
    return std::string("no network namespace: ") + std::strerror(direct) + " / " + std::strerror(errno);
}

inline void writeAll(int fd, const std::string& text) {
    size_t written = 0;
    while (written < text.size()) {
        ssize_t n = ::write(fd, text.data() + written, text.size() - written);
        if (n <= 0)
            return;
        written += static_cast<size_t>(n);
    }
}

inline std::string readAll(int fd) {
    std::string text;
    char buffer[1024];
    ssize_t n;
    while ((n = ::read(fd, buffer, sizeof buffer)) > 0 || (n < 0 && errno == EINTR))
        if (n > 0)
            text.append(buffer, static_cast<size_t>(n));
    return text;
}

[[noreturn]] inline void runChild(int reportFd, const std::function<void(ScenarioChecks&)>& scenario) {
    std::string why = enterNewNetworkNamespace();
    if (!why.empty()) {
        writeAll(reportFd, why);
        ::_exit(skippedExitCode);
    }
    ScenarioChecks checks;
    scenario(checks);
    writeAll(reportFd, checks.failures);
    ::_exit(checks.failures.empty() ? 0 : 1);
}

} // namespace network_namespace_detail

inline ScenarioOutcome runInNewNetworkNamespace(const std::function<void(ScenarioChecks&)>& scenario) {
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0)
        return {ScenarioOutcome::Result::Failed, "no pipe"};
    pid_t child = ::fork();
    if (child == 0) {
        ::close(report[0]);
        network_namespace_detail::runChild(report[1], scenario);
    }
    ::close(report[1]);
    std::string text = network_namespace_detail::readAll(report[0]);
    ::close(report[0]);
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return {ScenarioOutcome::Result::Failed, "the scenario's process did not end normally\n" + text};
    if (WEXITSTATUS(status) == network_namespace_detail::skippedExitCode)
        return {ScenarioOutcome::Result::Skipped, text};
    return {WEXITSTATUS(status) == 0 ? ScenarioOutcome::Result::Passed : ScenarioOutcome::Result::Failed,
            text};
}

inline void runScenario(const std::function<void(ScenarioChecks&)>& scenario) {
    ScenarioOutcome outcome = runInNewNetworkNamespace(scenario);
    if (outcome.result == ScenarioOutcome::Result::Skipped)
        GTEST_SKIP() << outcome.report;
    EXPECT_TRUE(outcome.result == ScenarioOutcome::Result::Passed) << outcome.report;
}
