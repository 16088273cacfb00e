#pragma once
// A private virtual X display for the window tests, started on a free display number and stopped
// with the object; DISPLAY points at it meanwhile.

#include <memory>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace pixeltest {

class XvfbDisplay {
public:
    // Null when Xvfb is not installed or does not start; `why` says which.
    static std::unique_ptr<XvfbDisplay> start(std::string& why);
    ~XvfbDisplay();
    XvfbDisplay(const XvfbDisplay&) = delete;
    XvfbDisplay& operator=(const XvfbDisplay&) = delete;

private:
    XvfbDisplay(pid_t pid, std::optional<std::string> previous)
        : pid_(pid), previousDisplay_(std::move(previous)) {}
    pid_t pid_;
    std::optional<std::string> previousDisplay_;
};

// Runs a program found on PATH with the given arguments (no shell) and returns what it printed,
// or nullopt when it is not installed, could not run or failed.
std::optional<std::string> runProgram(const std::vector<std::string>& arguments);

} // namespace pixeltest
