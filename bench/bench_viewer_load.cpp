// Start-up of the viewer: from the start of a fresh process to the end of loading (the loading
// callback), headless, with the process's peak memory, on the sample atlas of the build's bundle and on
// a synthetic atlas of about 100 MB.
//
//     bench_viewer_load [benchmark flags]
//
// Each iteration is a fresh child process (ViewerStartUp.h). Goal on the sample atlas: under 150 ms and
// under 60 MB.

#include "SyntheticAtlas.h"
#include "ViewerStartUp.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kMegabyte = 1 << 20;

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
    fs::path folder = startup::bundleWithoutDataFile("torvex-bench-bundle-" + std::to_string(::getpid()));
    std::ofstream(folder / "torvex.xml") << AtlasWriter(bytes, "atlas/HumanBody/Anterior.png").write();
    return folder;
}

} // namespace

int main(int argc, char** argv) {
    if (startup::isChild(argc, argv))
        return startup::loadViewerAndExit(argv[2]);
    fs::path large = syntheticBundle(100 * kMegabyte);
    std::cout << "synthetic atlas: " << fs::file_size(large / "torvex.xml") / kMegabyte << " MB\n";

    benchmark::RegisterBenchmark("start_to_loaded/sample_atlas", startup::timeStartUps,
                                 fs::path(TORVEX_BUILD_BUNDLE_DIR))
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(20);
    benchmark::RegisterBenchmark("start_to_loaded/synthetic_100MB", startup::timeStartUps, large)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(3);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    fs::remove_all(large);
    return 0;
}
