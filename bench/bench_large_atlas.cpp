// The largest atlases: from the start of a fresh process to the end of loading (the loading callback),
// headless, with the process's peak memory, on synthetic data files of 200 and 400 MB.
//
//     bench_large_atlas [benchmark flags]
//
// Each iteration starts this program again as a child that builds the viewer as the program does and
// ends itself at the callback; the time counted runs from just before the child is started, the peak
// memory is the child's maximum resident size. The data files are written beside the build's bundle
// pictures in a temporary folder and removed at the end. Goal: the 200 MB atlas in under 3 s of
// processor time and in no more memory than 1.5 times its size.

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
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
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
            rusage usage{};
            getrusage(RUSAGE_SELF, &usage);
            double processorSeconds =
                static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
            std::printf("%lld %.6f %ld %zu\n", now, processorSeconds, peakResidentKilobytes(),
                        loaded->indexArray.size());
            std::fflush(stdout);
            std::_Exit(0);
        });
    });
}

// An atlas in the data file's shape, written to its file as it is made: regions four levels deep with
// six views of 20 to 60 points each, then one information entry per structure with a text long enough
// to bring the file to its size.
class LargeAtlasWriter {
public:
    explicit LargeAtlasWriter(std::size_t bytes) : target_(bytes) {}

    void write(const fs::path& path) {
        out_.open(path, std::ios::binary | std::ios::trunc);
        out_ << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<torvex>\n<regions>\n";
        writeRegion("Body", 1);
        out_ << "</regions>\n<information>\n<entries>\n";
        writeEntries();
        out_ << "</entries>\n</information>\n</torvex>\n";
    }

private:
    static constexpr int kStructures = 20000;
    static constexpr const char* kViews[] = {"Anterior", "Posterior",     "Lateral",
                                             "Medial",   "Anterior Skin", "Anterior Xray"};

    int random(int low, int high) { return std::uniform_int_distribution(low, high)(engine_); }

    void writeRegion(const std::string& name, int level) {
        out_ << "<part header=\"" << name << "\"><views>\n";
        for (const char* view : kViews)
            writeView(view, level);
        out_ << "</views><parts>\n";
        int subRegions = level == 1 ? 12 : level < 4 ? 4 : 0;
        for (int i = 0; i < subRegions; ++i)
            writeRegion(name + " " + std::to_string(i + 1), level + 1);
        out_ << "</parts></part>\n";
    }

    void writeView(const char* view, int level) {
        out_ << "<view header=\"" << view << "\" src=\"atlas/HumanBody/Anterior.png\"><points>\n";
        for (int i = random(20, 60); i > 0; --i)
            out_ << "<point x=\"" << random(0, 480) << "\" y=\"" << random(0, 630) << "\" infoid=\"Label "
                 << random(1, kStructures) << "\"/>\n";
        out_ << "</points>";
        if (level == 1)
            out_ << "<hitarea exist=\"true\"/>";
        else
            out_ << "<hitarea x=\"" << random(0, 360) << "\" y=\"" << random(0, 470)
                 << "\" width=\"120\" height=\"157\" sx=\"240\" sy=\"300\" sscale=\"40\"/>"
                 << "<zoomout x=\"" << random(0, 360) << "\" y=\"" << random(0, 470) << "\" scale=\"25\"/>";
        out_ << "</view>\n";
    }

    void writeEntries() {
        auto written = static_cast<std::size_t>(out_.tellp());
        std::size_t textBytes = (target_ - std::min(target_, written)) / kStructures;
        const std::string phrase = "deep fascia of the muscle &amp; its tendon ";
        for (int id = 1; id <= kStructures; ++id) {
            std::string entry = "<entry id=\"Label " + std::to_string(id) + "\" title=\"Structure " +
                                std::to_string(id) + "\" titlelatin=\"Structura " + std::to_string(id) +
                                "\">&lt;p&gt;";
            while (entry.size() < textBytes)
                entry += phrase;
            out_ << entry << "&lt;/p&gt;</entry>\n";
        }
    }

    std::size_t target_;
    std::ofstream out_;
    std::mt19937 engine_{20240601};
};

// The build's bundle with its data file replaced by a synthetic one of `megabytes`.
fs::path syntheticBundle(std::size_t megabytes) {
    fs::path folder = fs::temp_directory_path() /
                      ("torvex-large-atlas-" + std::to_string(::getpid()) + "-" + std::to_string(megabytes));
    fs::remove_all(folder);
    fs::create_directories(folder);
    for (const auto& entry : fs::directory_iterator(TORVEX_BUILD_BUNDLE_DIR)) {
        if (entry.path().filename() != "torvex.xml")
            fs::create_symlink(entry.path(), folder / entry.path().filename());
    }
    LargeAtlasWriter(megabytes * kMegabyte).write(folder / "torvex.xml");
    return folder;
}

struct ChildRun {
    double seconds = 0;
    double processorSeconds = 0;
    double peakMegabytes = 0;
    std::size_t terms = 0;
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
    std::string bundlePath = bundle.string(), option = kChildOption, program = self;
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
    std::size_t terms = 0;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 ||
        std::sscanf(reported.c_str(), "%lld %lf %ld %zu", &loaded, &processorSeconds, &peakKilobytes,
                    &terms) != 4)
        std::abort();
    return {static_cast<double>(loaded - start) / 1e9, processorSeconds,
            static_cast<double>(peakKilobytes) / 1024, terms};
}

void startUp(benchmark::State& state, const std::string& self, const fs::path& bundle) {
    double peak = 0, processor = 0;
    std::size_t terms = 0;
    for (auto _ : state) {
        ChildRun run = runChild(self, bundle);
        state.SetIterationTime(run.seconds);
        peak = std::max(peak, run.peakMegabytes);
        processor += run.processorSeconds;
        terms = run.terms;
    }
    state.counters["peak_MB"] = peak;
    // On a busy machine the wall time includes waiting for a processor; this is the work itself.
    state.counters["cpu_ms"] = 1000 * processor / static_cast<double>(state.iterations());
    state.counters["file_MB"] = static_cast<double>(fs::file_size(bundle / "torvex.xml")) / kMegabyte;
    state.counters["index_terms"] = static_cast<double>(terms);
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == kChildOption)
        return loadViewerAndExit(argv[2]);
    std::string self = fs::canonical("/proc/self/exe").string();
    std::vector<fs::path> bundles;
    for (std::size_t megabytes : {200, 400}) {
        bundles.push_back(syntheticBundle(megabytes));
        benchmark::RegisterBenchmark(
            ("start_to_loaded/synthetic_" + std::to_string(megabytes) + "MB").c_str(), startUp, self,
            bundles.back())
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond)
            ->Iterations(3);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    for (const auto& bundle : bundles)
        fs::remove_all(bundle);
    return 0;
}
