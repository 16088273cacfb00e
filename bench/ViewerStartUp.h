#pragma once
// Start-up of the viewer in a fresh process, for the start-up benchmarks: each run starts the benchmark's
// own program again as a child that builds the viewer as the program does and ends itself at the
// loading callback, reporting the clock; the time counted runs from just before the child is started,
// and the peak memory is the child's maximum resident size.
//
//     int main(int argc, char** argv) {
//         if (startup::isChild(argc, argv))
//             return startup::loadViewerAndExit(argv[2]);
//         benchmark::RegisterBenchmark("start_to_loaded", startup::timeStartUps, bundle)
//             ->UseManualTime();
//         ...
//     }

#include "TorvexView.h"

#include "Platform/Application.h"
#include "Platform/RunMain.h"

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

extern char** environ;

namespace startup {

inline constexpr const char* kChildOption = "--load-viewer-and-exit";

inline bool isChild(int argc, char** argv) {
    return argc == 3 && std::string(argv[1]) == kChildOption;
}

inline std::int64_t monotonicNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

// The most memory this process has held since it started its program (its "VmHWM"). The spawn's
// own accounting would also count what the parent held before the child's program replaced it.
inline long peakResidentKilobytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with("VmHWM:"))
            return std::stol(line.substr(6));
    }
    return 0;
}

inline double processorSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// The child: the program's own start-up, cut short at the loading callback.
inline int loadViewerAndExit(const std::string& bundle) {
    std::vector<std::string> arguments{"torvex", "--headless", "--bundle", bundle};
    std::vector<char*> argv;
    for (auto& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    std::unique_ptr<TorvexView> viewer;
    return ui::runMain(static_cast<int>(arguments.size()), argv.data(), [&](ui::Application& application) {
        viewer = std::make_unique<TorvexView>();
        application.window()->addSubview(viewer->view());
        viewer->startloadingWithCallBackTarget([](TorvexView* loaded) {
            long long now = monotonicNanoseconds();
            std::printf("%lld %.6f %ld %zu\n", now, processorSeconds(), peakResidentKilobytes(),
                        loaded->index().indexArray().size());
            std::fflush(stdout);
            std::_Exit(0);
        });
    });
}

struct ChildRun {
    double seconds = 0;
    double processorSeconds = 0;
    double peakMegabytes = 0;
    std::size_t indexTerms = 0;
};

inline ChildRun runChild(const std::filesystem::path& bundle) {
    std::string program = std::filesystem::canonical("/proc/self/exe").string();
    int output[2];
    if (pipe(output) != 0)
        std::abort();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, output[0]);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::string bundlePath = bundle.string(), option = kChildOption;
    char* argv[] = {program.data(), option.data(), bundlePath.data(), nullptr};

    std::int64_t start = monotonicNanoseconds();
    pid_t child = 0;
    if (posix_spawn(&child, program.c_str(), &actions, nullptr, argv, environ) != 0)
        std::abort();
    posix_spawn_file_actions_destroy(&actions);
    close(output[1]);
    std::string reported;
    char buffer[64];
    for (ssize_t n; (n = read(output[0], buffer, sizeof buffer)) > 0;)
        reported.append(buffer, static_cast<std::size_t>(n));
    close(output[0]);
    int status = 0;
    waitpid(child, &status, 0);
    long long loaded = 0;
    ChildRun run;
    long peakKilobytes = 0;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 ||
        std::sscanf(reported.c_str(), "%lld %lf %ld %zu", &loaded, &run.processorSeconds, &peakKilobytes,
                    &run.indexTerms) != 4)
        std::abort();
    run.seconds = static_cast<double>(loaded - start) / 1e9;
    run.peakMegabytes = static_cast<double>(peakKilobytes) / 1024;
    return run;
}

// One child per iteration, timed by hand; counts the peak memory and the processor time. Returns the
// number of index terms the last child loaded.
inline std::size_t timeStartUps(benchmark::State& state, const std::filesystem::path& bundle) {
    double peak = 0, processor = 0;
    std::size_t terms = 0;
    for (auto _ : state) {
        ChildRun run = runChild(bundle);
        state.SetIterationTime(run.seconds);
        peak = std::max(peak, run.peakMegabytes);
        processor += run.processorSeconds;
        terms = run.indexTerms;
    }
    state.counters["peak_MB"] = peak;
    // On a busy machine the wall time includes waiting for a processor; this is the work itself.
    state.counters["cpu_ms"] = 1000 * processor / static_cast<double>(state.iterations());
    return terms;
}

// A folder `name` in the temporary folder holding the build's bundle, linked, without its data file,
// for a synthetic one to take its place.
inline std::filesystem::path bundleWithoutDataFile(const std::string& name) {
    namespace fs = std::filesystem;
    fs::path folder = fs::temp_directory_path() / name;
    fs::remove_all(folder);
    fs::create_directories(folder);
    for (const auto& entry : fs::directory_iterator(TORVEX_BUILD_BUNDLE_DIR)) {
        if (entry.path().filename() != "torvex.xml")
            fs::create_symlink(entry.path(), folder / entry.path().filename());
    }
    return folder;
}

} // namespace startup
