#include "XvfbDisplay.h"

#include <cerrno>
#include <cstdlib>
#include <memory>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace pixeltest {

namespace {

std::vector<char*> argumentVector(const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    return argv;
}

// Reads until end of file, or until nothing came for `seconds`.
std::string readAll(int fd, int seconds) {
    std::string text;
    char buffer[256];
    pollfd waiting{fd, POLLIN, 0};
    while (poll(&waiting, 1, seconds * 1000) > 0) {
        ssize_t n = read(fd, buffer, sizeof buffer);
        if (n <= 0)
            break;
        text.append(buffer, static_cast<size_t>(n));
    }
    return text;
}

// Xvfb writes its display number followed by a newline to the -displayfd descriptor when ready.
std::string readDisplayNumber(int fd) {
    std::string text;
    char c;
    pollfd waiting{fd, POLLIN, 0};
    while (text.find('\n') == std::string::npos && poll(&waiting, 1, 10000) > 0 && read(fd, &c, 1) == 1)
        text += c;
    return text.substr(0, text.find('\n'));
}

} // namespace

std::unique_ptr<XvfbDisplay> XvfbDisplay::start(std::string& why) {
    int ready[2];
    if (pipe(ready) != 0) {
        why = "no pipe";
        return nullptr;
    }
    std::vector<std::string> arguments{
        "Xvfb", "-displayfd", std::to_string(ready[1]), "-screen", "0", "1024x1200x24", "-nolisten", "tcp"};
    auto argv = argumentVector(arguments);
    pid_t pid = 0;
    int spawned = posix_spawnp(&pid, "Xvfb", nullptr, nullptr, argv.data(), environ);
    close(ready[1]);
    std::string number = spawned == 0 ? readDisplayNumber(ready[0]) : "";
    close(ready[0]);
    if (number.empty()) {
        why = spawned == ENOENT ? "Xvfb is not installed (package xvfb)" : "Xvfb did not start";
        if (spawned == 0) {
            kill(pid, SIGTERM);
            waitpid(pid, nullptr, 0);
        }
        return nullptr;
    }
    const char* previous = std::getenv("DISPLAY");
    std::unique_ptr<XvfbDisplay> display(
        new XvfbDisplay(pid, previous ? std::optional<std::string>(previous) : std::nullopt));
    setenv("DISPLAY", (":" + number).c_str(), 1);
    return display;
}

XvfbDisplay::~XvfbDisplay() {
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
    if (previousDisplay_)
        setenv("DISPLAY", previousDisplay_->c_str(), 1);
    else
        unsetenv("DISPLAY");
}

std::optional<std::string> runProgram(const std::vector<std::string>& arguments) {
    int output[2];
    if (pipe(output) != 0)
        return std::nullopt;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, output[0]);
    auto argv = argumentVector(arguments);
    pid_t pid = 0;
    int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(output[1]);
    std::string text = spawned == 0 ? readAll(output[0], 10) : "";
    close(output[0]);
    if (spawned != 0)
        return std::nullopt;
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;
    return text;
}

} // namespace pixeltest
