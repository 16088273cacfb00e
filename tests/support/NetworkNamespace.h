#pragma once
// Reachability scenarios, each in a child process with a network of its own (only a loopback link,
// down, no routes) that it changes freely with `ip`. Header-only, so that every test group may use it.

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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

// Changes the namespace's network ("route add 10.0.0.0/8 dev lo"); false when it fails.
inline bool ip(const std::string& arguments) {
    return std::system(("ip " + arguments + " >/dev/null 2>&1").c_str()) == 0;
}

// Waits (at most two seconds) until `fd` has something to read.
inline bool waitReadable(int fd) {
    pollfd watched{fd, POLLIN, 0};
    int ready;
    while ((ready = ::poll(&watched, 1, 2000)) < 0 && errno == EINTR) {
    }
    return ready > 0;
}

// Runs `scenario` in a new network namespace: the test fails with its failed checks, or is skipped
// where no namespace can be made (without the privilege, a user namespace of our own grants it). The
// child process prints the failed checks (or why it made no namespace) on stderr, above the result.
inline void runScenario(const std::function<void(ScenarioChecks&)>& scenario) {
    constexpr int skipped = 77;
    pid_t child = ::fork();
    if (child == 0) {
        ScenarioChecks checks;
        int direct = ::unshare(CLONE_NEWNET) == 0 ? 0 : errno;
        bool none = direct && ::unshare(CLONE_NEWUSER | CLONE_NEWNET) != 0;
        if (none)
            checks.failures =
                std::string("no network namespace: ") + std::strerror(direct) + " / " + std::strerror(errno);
        else
            scenario(checks);
        std::fputs(checks.failures.c_str(), stderr);
        std::fflush(stderr);
        ::_exit(none ? skipped : checks.failures.empty() ? 0 : 1);
    }
    int status = 0;
    ASSERT_TRUE(child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status))
        << "the scenario's process did not end normally";
    if (WEXITSTATUS(status) == skipped)
        GTEST_SKIP() << "no network namespace (the reason is printed above)";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the scenario's failed checks are printed above";
}
