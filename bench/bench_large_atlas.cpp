// The largest atlases: from the start of a fresh process to the end of loading (the loading callback),
// headless, with the process's peak memory, on synthetic data files of 200 and 400 MB.
//
//     bench_large_atlas [benchmark flags]
//
// Each iteration is a fresh child process (ViewerStartUp.h). The data files are written beside the build's
// bundle pictures in a temporary folder and removed at the end. Goal: the 200 MB atlas in under 3 s of
// processor time and in no more memory than 1.5 times its size.

#include "ViewerStartUp.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kMegabyte = 1 << 20;

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
