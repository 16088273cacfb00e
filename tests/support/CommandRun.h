#pragma once
// Runs a command line through the shell: its exit status and standard output, and that output's JSON lines.

#include <nlohmann/json.hpp>

#include <cstdio>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

struct CommandRun {
    int status = -1; // the exit status, -1 when the command did not end normally
    std::string output;
};

// Add " 2>&1" to the command to collect what it prints on standard error too.
inline CommandRun runCommand(const std::string& command) {
    CommandRun run;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return run;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        run.output.append(buffer, n);
    int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

// The JSON lines of a run's output (what `state` and `dump` print), in order.
inline std::vector<nlohmann::json> jsonLines(const std::string& output) {
    std::vector<nlohmann::json> lines;
    std::istringstream in(output);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.front() == '{')
            lines.push_back(nlohmann::json::parse(line));
    }
    return lines;
}
