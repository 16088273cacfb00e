#include "ProgramRun.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <csignal>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

std::vector<nlohmann::json> ProgramRun::states() const {
    std::vector<nlohmann::json> lines;
    std::istringstream in(output);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.front() == '{')
            lines.push_back(nlohmann::json::parse(line, nullptr, false));
    }
    return lines;
}

std::string ProgramRun::describe() const {
    std::ostringstream text;
    text << "exit status " << exitStatus << ", signal " << signal << (timedOut ? ", killed as hung" : "")
         << ", " << wallSeconds << " s (" << processorSeconds << " s of processor), peak " << peakMegabytes
         << " MB\nstderr:\n"
         << (errors.size() > 4000 ? errors.substr(0, 1000) + "\n...\n" + errors.substr(errors.size() - 3000)
                                  : errors);
    return text.str();
}

ProgramRun runProgram(const HostileBundle& bundle, const std::string& script, RunLimits limits) {
    fs::path scriptFile = bundle.home() / "script.txt";
    fs::path outputFile = bundle.home() / "stdout.txt", errorFile = bundle.home() / "stderr.txt";
    std::ofstream(scriptFile) << script;

    std::vector<std::string> arguments{
        TORVEX_BINARY, "--headless",           "--bundle", bundle.path().string(),
        "--home",      bundle.home().string(), "--script", scriptFile.string()};
    std::vector<char*> argv;
    for (auto& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    std::string outputPath = outputFile.string(), errorPath = errorFile.string();
    unsigned wallLimit = static_cast<unsigned>(std::ceil(limits.wallSeconds));
    rlim_t addressSpace = static_cast<rlim_t>(limits.addressSpaceMegabytes * 1024 * 1024);

    ProgramRun run;
    auto started = std::chrono::steady_clock::now();
    pid_t child = ::fork();
    if (child == 0) {
        int out = ::open(outputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int err = ::open(errorPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int in = ::open("/dev/null", O_RDONLY);
        if (out < 0 || err < 0 || in < 0)
            ::_exit(126);
        ::dup2(out, STDOUT_FILENO);
        ::dup2(err, STDERR_FILENO);
        ::dup2(in, STDIN_FILENO);
        // The sanitizers reserve terabytes of address space for their bookkeeping.
        if (!HOSTILE_SANITIZED) {
            rlimit limit{addressSpace, addressSpace};
            ::setrlimit(RLIMIT_AS, &limit);
        }
        // The alarm outlives exec and, unhandled, ends a run that hangs.
        ::alarm(wallLimit);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    if (child < 0) {
        run.errors = "cannot start the program";
        return run;
    }
    int status = 0;
    rusage usage{};
    ::wait4(child, &status, 0, &usage);
    run.wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    run.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    run.timedOut = run.signal == SIGALRM;
    run.peakMegabytes = static_cast<double>(usage.ru_maxrss) / 1024;
    auto seconds = [](const timeval& time) { return static_cast<double>(time.tv_sec) + time.tv_usec / 1e6; };
    run.processorSeconds = seconds(usage.ru_utime) + seconds(usage.ru_stime);
    run.output = readWholeFile(outputFile);
    run.errors = readWholeFile(errorFile);
    return run;
}
