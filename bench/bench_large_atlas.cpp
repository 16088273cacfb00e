// The largest atlases: from the start of a fresh process to the end of loading (the loading callback),
// headless, with the process's peak memory, on synthetic data files of 200 and 400 MB.
//
//     bench_large_atlas [benchmark flags]
//
// Each iteration is a fresh child process (ViewerStartUp.h). The data files are written beside the build's
// bundle pictures in a temporary folder and removed at the end. Goal: the 200 MB atlas in under 3 s of
// processor time and in no more memory than 1.5 times its size.

#include "LargeAtlas.h"
#include "ViewerStartUp.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kMegabyte = 1 << 20;

// The build's bundle with its data file replaced by a synthetic one of `megabytes`.
fs::path syntheticBundle(std::size_t megabytes) {
    fs::path folder = startup::bundleWithoutDataFile("torvex-large-atlas-" + std::to_string(::getpid()) +
                                                     "-" + std::to_string(megabytes));
    LargeAtlasWriter(megabytes * kMegabyte).write(folder / "torvex.xml");
    return folder;
}

void startUp(benchmark::State& state, const fs::path& bundle) {
    std::size_t terms = startup::timeStartUps(state, bundle);
    state.counters["file_MB"] = static_cast<double>(fs::file_size(bundle / "torvex.xml")) / kMegabyte;
    state.counters["index_terms"] = static_cast<double>(terms);
}

} // namespace

int main(int argc, char** argv) {
    if (startup::isChild(argc, argv))
        return startup::loadViewerAndExit(argv[2]);
    std::vector<fs::path> bundles;
    for (std::size_t megabytes : {200, 400}) {
        bundles.push_back(syntheticBundle(megabytes));
        benchmark::RegisterBenchmark(
            ("start_to_loaded/synthetic_" + std::to_string(megabytes) + "MB").c_str(), startUp,
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
