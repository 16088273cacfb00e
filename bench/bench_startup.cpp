// From process start to "touch to continue": the program is started headless on the sample atlas
// with an empty home and no content server, and the clock stops when its state first reports the
// start screen ready. Each repetition is one fresh process; the median of 20 is the figure to watch
// (goal: under 200 ms). `child_cpu_ms` is the processor time the program used, which a busy machine
// does not inflate.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <iostream>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

namespace fs = std::filesystem;

const fs::path bundle = TORVEX_BUILD_BUNDLE_DIR;
const fs::path program = bundle.parent_path() / "torvex";
constexpr std::string_view readyState = "\"startLabel\":\"touch to continue\"";
// The viewer is built 0.2 s after launch on the program's clock, which a headless run moves at once.
constexpr std::string_view script = "wait 0.2\nstate\n";

struct Pipe {
    int read = -1, write = -1;
    Pipe() {
        int fds[2];
        if (::pipe(fds) == 0) {
            read = fds[0];
            write = fds[1];
        }
    }
};

struct Launch {
    double secondsToReady = 0;
    double childCpuSeconds = 0;
    bool ready = false;
};

bool readUntilReady(int fd) {
    std::string output;
    char buffer[65536];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;) {
        output.append(buffer, static_cast<size_t>(n));
        if (output.find(readyState) != std::string::npos)
            return true;
    }
    return false;
}

Launch launchOnce(const fs::path& home) {
    Pipe input, output;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, input.read, STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, output.write, STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addclose(&actions, input.write);
    posix_spawn_file_actions_addclose(&actions, output.read);
    std::string programPath = program.string(), homePath = home.string();
    char* argv[] = {programPath.data(),
                    const_cast<char*>("--headless"),
                    const_cast<char*>("--home"),
                    homePath.data(),
                    const_cast<char*>("--script"),
                    const_cast<char*>("-"),
                    nullptr};

    Launch launch;
    auto start = std::chrono::steady_clock::now();
    pid_t child = 0;
    bool spawned = posix_spawn(&child, programPath.c_str(), &actions, nullptr, argv, environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    ::close(input.read);
    ::close(output.write);
    if (spawned) {
        [[maybe_unused]] auto written = ::write(input.write, script.data(), script.size());
        ::close(input.write);
        launch.ready = readUntilReady(output.read);
        launch.secondsToReady =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        int status = 0;
        rusage usage{};
        ::wait4(child, &status, 0, &usage);
        launch.childCpuSeconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                                 static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    } else {
        ::close(input.write);
    }
    ::close(output.read);
    return launch;
}

void BM_StartToTouchToContinue(benchmark::State& state) {
    if (!fs::exists(bundle / "torvex.xml") || !fs::exists(program)) {
        state.SkipWithError("build the program and its bundle first");
        return;
    }
    fs::path home = fs::temp_directory_path() / ("torvex-bench-startup-" + std::to_string(::getpid()));
    double cpu = 0;
    for (auto _ : state) {
        fs::remove_all(home);
        Launch launch = launchOnce(home);
        if (!launch.ready) {
            state.SkipWithError("the program never showed \"touch to continue\"");
            break;
        }
        state.SetIterationTime(launch.secondsToReady);
        cpu += launch.childCpuSeconds;
    }
    state.counters["child_cpu_ms"] = benchmark::Counter(cpu * 1000, benchmark::Counter::kAvgIterations);
    fs::remove_all(home);
}

BENCHMARK(BM_StartToTouchToContinue)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(20)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
