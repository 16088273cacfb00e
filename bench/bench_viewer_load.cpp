// Start-up of the viewer: from the start of a fresh process to the end of loading (the loading
// callback), headless, with the process's peak memory, on the sample atlas of the build's bundle and on
// a synthetic atlas of about 100 MB.
//
//     bench_viewer_load [benchmark flags]
//
// Each iteration starts this program again as a child that builds the viewer as the program does and
// ends itself at the callback, reporting the clock; the time counted runs from just before the child is
// started, and the peak memory is the child's maximum resident size. Goal on the sample atlas: under
// 150 ms and under 60 MB.

#include "SyntheticAtlas.h"
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
#include <iostream>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kMegabyte = 1 << 20;
constexpr const char* kChildOption = "--load-viewer-and-exit";

std::int64_t monotonicNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

// The most memory this process has held since it started its program (its "VmHWM"). The spawn's
// own accounting would also count what the parent held before the child's program replaced it.
long peakResidentKilobytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with("VmHWM:"))
            return std::stol(line.substr(6));
    }
    return 0;
}

// The child: the program's own start-up, cut short at the loading callback.
int loadViewerAndExit(const std::string& bundle) {
    std::string program = "torvex";
    std::vector<std::string> arguments{program, "--headless", "--bundle", bundle};
    std::vector<char*> argv;
    for (auto& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    std::unique_ptr<TorvexView> viewer;
    return ui::runMain(static_cast<int>(arguments.size()), argv.data(), [&](ui::Application& application) {
        viewer = std::make_unique<TorvexView>();
        application.window()->addSubview(viewer->view());
        viewer->startloadingWithCallBackTarget([](TorvexView*) {
            long long now = monotonicNanoseconds();
            rusage usage{};
            getrusage(RUSAGE_SELF, &usage);
            double processorSeconds =
                static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
            std::printf("%lld %.6f %ld\n", now, processorSeconds, peakResidentKilobytes());
            std::fflush(stdout);
            std::_Exit(0);
        });
    });
}

// Regions four levels deep, then one information entry per structure with a text long enough to bring
// the file to its size. Every view shows the same picture of the sample atlas, so loading reads a real
// picture.
class AtlasWriter : public SyntheticAtlas {
public:
    AtlasWriter(std::size_t targetBytes, std::string picture)
        : SyntheticAtlas(targetBytes), picture_(std::move(picture)) {}

private:
    static constexpr int kStructures = 20000;

    void writeRegions() override { writeRegion("Body", 1); }

    void writeRegion(const std::string& name, int level) {
        out_ += "<part header=\"" + name + "\"><views>\n";
        for (const char* view : kViews)
            writeView(name, view, picture_, 1, kStructures, "");
        out_ += "</views><parts>\n";
        int subRegions = level == 1 ? 12 : level < 5 ? 4 : 0;
        for (int i = 1; i <= subRegions && out_.size() < target_ / 2; ++i)
            writeRegion(name + " " + std::to_string(i), level + 1);
        out_ += "</parts></part>\n";
    }

    void writeEntries() override {
        std::size_t textBytes = (target_ - std::min(target_, out_.size())) / kStructures;
        for (int id = 1; id <= kStructures; ++id) {
            std::string label = std::to_string(id);
            out_ += "<entry id=\"Label " + label + "\" title=\"Structure " + label + " " +
                    std::to_string(random(0, 99999)) + "\" titlelatin=\"Structura " + label + "\">&lt;p&gt;";
            std::size_t end = out_.size() + textBytes;
            while (out_.size() < end)
                out_ += "deep fascia of the muscle &amp; its tendon ";
            out_ += "&lt;/p&gt;</entry>\n";
        }
    }

    std::string picture_;
};

// The build's bundle with its data file replaced by a synthetic one.
fs::path syntheticBundle(std::size_t bytes) {
    fs::path folder = fs::temp_directory_path() / ("torvex-bench-bundle-" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    for (const auto& entry : fs::directory_iterator(TORVEX_BUILD_BUNDLE_DIR)) {
        if (entry.path().filename() != "torvex.xml")
            fs::create_symlink(entry.path(), folder / entry.path().filename());
    }
    std::ofstream(folder / "torvex.xml") << AtlasWriter(bytes, "atlas/HumanBody/Anterior.png").write();
    return folder;
}

struct ChildRun {
    double seconds = 0;
    double processorSeconds = 0;
    double peakMegabytes = 0;
};

ChildRun runChild(const std::string& self, const fs::path& bundle) {
    int output[2];
    if (pipe(output) != 0)
        std::abort();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, output[0]);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::string bundlePath = bundle.string();
    std::string option = kChildOption;
    std::string program = self;
    char* argv[] = {program.data(), option.data(), bundlePath.data(), nullptr};

    std::int64_t start = monotonicNanoseconds();
    pid_t child = 0;
    if (posix_spawn(&child, self.c_str(), &actions, nullptr, argv, environ) != 0)
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
    double processorSeconds = 0;
    long peakKilobytes = 0;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 ||
        std::sscanf(reported.c_str(), "%lld %lf %ld", &loaded, &processorSeconds, &peakKilobytes) != 3)
        std::abort();
    return {static_cast<double>(loaded - start) / 1e9, processorSeconds,
            static_cast<double>(peakKilobytes) / 1024};
}

void startUp(benchmark::State& state, const std::string& self, const fs::path& bundle) {
    double peak = 0, processor = 0;
    for (auto _ : state) {
        ChildRun run = runChild(self, bundle);
        state.SetIterationTime(run.seconds);
        peak = std::max(peak, run.peakMegabytes);
        processor += run.processorSeconds;
    }
    state.counters["peak_MB"] = peak;
    // On a busy machine the wall time includes waiting for a processor; this is the work itself.
    state.counters["cpu_ms"] = 1000 * processor / static_cast<double>(state.iterations());
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == kChildOption)
        return loadViewerAndExit(argv[2]);
    std::string self = fs::canonical("/proc/self/exe").string();
    fs::path large = syntheticBundle(100 * kMegabyte);
    std::cout << "synthetic atlas: " << fs::file_size(large / "torvex.xml") / kMegabyte << " MB\n";

    benchmark::RegisterBenchmark("start_to_loaded/sample_atlas", startUp, self,
                                 fs::path(TORVEX_BUILD_BUNDLE_DIR))
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(20);
    benchmark::RegisterBenchmark("start_to_loaded/synthetic_100MB", startUp, self, large)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(3);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    fs::remove_all(large);
    return 0;
}
