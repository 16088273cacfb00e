#pragma once
// The real window under a virtual X display: a test starts its own test program again as a child
// under xvfb-run, running just the test that opens the window, so that the display and SDL never
// touch the other tests. The child test knows itself by `insideVirtualDisplay` in its environment.
// Header-only, so that every test group may use it.
//
//     TEST(Window, ChildClicksTheButton) {
//         if (!std::getenv(insideVirtualDisplay))
//             GTEST_SKIP() << "runs only under the virtual display";
//         ...
//     }
//     TEST(Window, AClickRunsTheAction) {
//         if (std::string why = whyNoVirtualDisplay(); !why.empty())
//             GTEST_SKIP() << why;
//         EXPECT_EQ(runTestUnderVirtualDisplay("Window.ChildClicksTheButton"), 0);
//     }

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

inline constexpr const char* insideVirtualDisplay = "TORVEX_TEST_UNDER_XVFB";

inline bool onPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::string folders = path ? path : "";
    for (std::size_t start = 0; start <= folders.size();) {
        std::size_t end = std::min(folders.find(':', start), folders.size());
        std::string folder = folders.substr(start, end - start);
        if (!folder.empty() && std::filesystem::exists(std::filesystem::path(folder) / program))
            return true;
        start = end + 1;
    }
    return false;
}

// Starts a program found on PATH (no shell); its pid, or -1. With `output`, its standard output goes
// into a pipe whose reading end is put there.
inline pid_t startProgram(std::vector<std::string> arguments, int* output = nullptr) {
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    int pipeEnds[2] = {-1, -1};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (output && ::pipe(pipeEnds) == 0) {
        posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    }
    pid_t pid = -1;
    if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
        pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    if (pipeEnds[1] >= 0) {
        ::close(pipeEnds[1]);
        *output = pipeEnds[0];
    }
    return pid;
}

// The exit status of a started program, -1 when it did not end normally.
inline int waitForProgram(pid_t pid) {
    int status = 0;
    if (pid <= 0 || ::waitpid(pid, &status, 0) != pid)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// What a program printed, when it ran and succeeded; reading stops when nothing came for ten seconds.
inline std::optional<std::string> programOutput(const std::vector<std::string>& arguments) {
    int output = -1;
    pid_t pid = startProgram(arguments, &output);
    std::string text;
    char buffer[256];
    pollfd waiting{output, POLLIN, 0};
    while (output >= 0 && ::poll(&waiting, 1, 10000) > 0) {
        ssize_t n = ::read(output, buffer, sizeof buffer);
        if (n <= 0)
            break;
        text.append(buffer, static_cast<std::size_t>(n));
    }
    if (output >= 0)
        ::close(output);
    return waitForProgram(pid) == 0 ? std::optional(text) : std::nullopt;
}

// Empty when xvfb-run, Xvfb and xdotool are there; otherwise what is missing.
inline std::string whyNoVirtualDisplay() {
    for (const char* program : {"xvfb-run", "Xvfb", "xdotool"})
        if (!onPath(program))
            return std::string("the window tests need ") + program;
    return "";
}

// Runs `test` ("Suite.Name") of this test program under a virtual display; the child's exit status.
inline int runTestUnderVirtualDisplay(const std::string& test) {
    ::setenv(insideVirtualDisplay, "1", 1);
    pid_t child =
        startProgram({"xvfb-run", "-a", "-s", "-screen 0 1024x1280x24",
                      std::filesystem::read_symlink("/proc/self/exe").string(), "--gtest_filter=" + test});
    ::unsetenv(insideVirtualDisplay);
    return waitForProgram(child);
}
