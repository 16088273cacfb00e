#pragma once
// Reachability scenarios, each in a child process with a network of its own (only a loopback link,
// down, no routes) that it changes freely with `ip`. Header-only, so that every test group may use it.

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
// where no namespace can be made (without the privilege, a user namespace of our own grants it).
inline void runScenario(const std::function<void(ScenarioChecks&)>& scenario) {
    constexpr int skipped = 77;
    int report[2];
    ASSERT_EQ(::pipe2(report, O_CLOEXEC), 0);
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
        for (std::size_t at = 0; at < checks.failures.size();) {
            ssize_t n = ::write(report[1], checks.failures.data() + at, checks.failures.size() - at);
            if (n <= 0)
                break;
            at += static_cast<std::size_t>(n);
        }
        ::_exit(none ? skipped : checks.failures.empty() ? 0 : 1);
    }
    ::close(report[1]);
    std::string text;
    char buffer[1024];
    for (ssize_t n; (n = ::read(report[0], buffer, sizeof buffer)) > 0 || (n < 0 && errno == EINTR);)
        text.append(buffer, static_cast<std::size_t>(std::max<ssize_t>(n, 0)));
    ::close(report[0]);
    int status = 0;
    ASSERT_TRUE(child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status))
        << "the scenario's process did not end normally\n"
        << text;
    if (WEXITSTATUS(status) == skipped)
        GTEST_SKIP() << text;
    EXPECT_EQ(WEXITSTATUS(status), 0) << text;
}
