// Loading the data file: our full load (tree and term dictionary) against a bare expat pass over the same
// bytes and against pugixml's DOM, on synthetic atlases of about 2 and 20 MB (and 100 MB with --large).
//
//     bench_content_load [--large] [benchmark flags]
//
// Prints the usual benchmark table, then a comparison in which the three loads take turns: MB/s and the
// ratio to the bare pass in CPU time, once with the heap reused from one load to the next and once with
// the heap handed back to the system before each load, as a freshly started program has it; and the
// memory each tree keeps (malloc's own count, chunk overheads included) against the file size.

#include "SyntheticAtlas.h"
#include "TorvexContent.h"

#include <benchmark/benchmark.h>
#include <expat.h>
#include <malloc.h>
#include <pugixml.hpp>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kMegabyte = 1 << 20;

// Regions five levels deep (3, 2, 2, 2 sub-regions per level below the top-level areas), then one
// information entry per structure whose texts, with entities and escaped markers, bring the file to its
// target size. About half the bytes are markup, half entry text. As in an atlas, the views of a region
// show that region's structures: each region draws its points from its own 45 structures, a third of
// them shared with the region written before it.
class AtlasWriter : public SyntheticAtlas {
public:
    using SyntheticAtlas::SyntheticAtlas;

private:
    static constexpr const char* kWords[] = {"muscle",  "tendon",  "the",     "of",      "nerve", "artery",
                                             "bone",    "joint",   "lateral", "medial",  "and",   "flexes",
                                             "extends", "inserts", "origin",  "surface", "deep",  "fascia"};
    static constexpr int kRegionStructures = 45;
    static constexpr int kSharedStructures = 15;

    bool markupDone() const { return out_.size() > target_ / 2; }

    void writeRegions() override { writeRegion("Body", 1, 6); }

    void writeRegion(const std::string& name, int level, int subRegions) {
        firstStructure_ = std::max(1, endStructure_ - kSharedStructures);
        endStructure_ = firstStructure_ + kRegionStructures;
        std::string indent(2 * (2 * level), ' ');
        out_ += indent + "<part header=\"" + name + "\">\n" + indent + "  <views>\n";
        for (const char* view : kViews)
            writeView(name, view, name + "/" + view + ".png", firstStructure_, endStructure_ - 1,
                      indent + "    ");
        out_ += indent + "  </views>\n" + indent + "  <parts>\n";
        for (int i = 1; i <= subRegions && !markupDone() && level < 5; ++i)
            writeRegion(name + " " + std::to_string(i), level + 1, level == 1 ? 3 : 2);
        for (int i = subRegions + 1; level == 1 && !markupDone(); ++i)
            writeRegion(name + " " + std::to_string(i), 2, 3);
        out_ += indent + "  </parts>\n" + indent + "</part>\n";
    }

    void writeEntries() override {
        std::size_t remaining = target_ > out_.size() ? target_ - out_.size() : 0;
        int average = static_cast<int>(remaining / static_cast<std::size_t>(endStructure_));
        for (int id = 1; id < endStructure_; ++id) {
            std::string label = std::to_string(id);
            out_ += "      <entry id=\"Label " + label + "\" title=\"Structure " + label +
                    "\" titlelatin=\"Structura " + label + "\">";
            writeText(random(average / 2, average * 3 / 2));
            out_ += "</entry>\n";
        }
    }

    void writeText(int bytes) {
        std::size_t end = out_.size() + static_cast<std::size_t>(std::max(bytes - 120, 20));
        out_ += "&lt;p&gt;&lt;b&gt;Structure.&lt;/b&gt; ";
        for (int word = 1; out_.size() < end; ++word) {
            out_ += kWords[random(0, std::size(kWords) - 1)];
            out_ += word % 12 == 0 ? " &amp; " : word % 40 == 0 ? ".&lt;/p&gt;***&lt;p&gt;" : " ";
        }
        out_ += "end.&lt;/p&gt;";
    }

    int firstStructure_ = 1;
    int endStructure_ = 1; // one past the last structure id in use
};

struct Atlas {
    std::string label;
    fs::path path;
    std::size_t bytes = 0;
};

// Reads like our loader does: 1 MiB at a time straight into expat's buffer.
void bareExpatPass(const fs::path& path) {
    std::unique_ptr<XML_ParserStruct, decltype(&XML_ParserFree)> parser(XML_ParserCreate(nullptr),
                                                                        XML_ParserFree);
    XML_SetElementHandler(
        parser.get(), [](void*, const XML_Char*, const XML_Char**) {}, [](void*, const XML_Char*) {});
    XML_SetCharacterDataHandler(parser.get(), [](void*, const XML_Char*, int) {});
    std::unique_ptr<std::FILE, decltype(&std::fclose)> file(std::fopen(path.c_str(), "rb"), std::fclose);
    for (bool last = false; !last;) {
        void* buffer = XML_GetBuffer(parser.get(), kMegabyte);
        std::size_t length = std::fread(buffer, 1, kMegabyte, file.get());
        last = std::feof(file.get()) != 0;
        if (XML_ParseBuffer(parser.get(), static_cast<int>(length), last) != XML_STATUS_OK)
            std::abort();
    }
}

std::size_t heapInUse() {
    struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

// What a loaded tree keeps, measured while it is alive.
template <typename Load> double keptBytesPerFileByte(const Atlas& atlas, Load load) {
    std::size_t before = heapInUse();
    auto kept = load();
    std::size_t after = heapInUse();
    benchmark::DoNotOptimize(kept);
    return static_cast<double>(after - before) / static_cast<double>(atlas.bytes);
}

std::unique_ptr<TorvexContent> torvexLoad(const Atlas& atlas) {
    auto content = std::make_unique<TorvexContent>();
    if (!content->parseXMLFile(atlas.path) || content->status() != TorvexContent::LoadStatus::Loaded)
        std::abort();
    return content;
}

std::unique_ptr<pugi::xml_document> pugixmlLoad(const Atlas& atlas) {
    auto document = std::make_unique<pugi::xml_document>();
    if (!document->load_file(atlas.path.c_str()))
        std::abort();
    return document;
}

// Frees each tree outside the timed part, so only loading is measured.
template <typename Load> void timeLoads(benchmark::State& state, const Atlas& atlas, Load load) {
    for (auto _ : state) {
        auto kept = load(atlas);
        state.PauseTiming();
        kept.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * atlas.bytes));
}

std::unique_ptr<int> bareExpatLoad(const Atlas& atlas) {
    bareExpatPass(atlas.path);
    return nullptr;
}

void registerLoads(const Atlas& atlas) {
    auto add = [&](const char* loader, auto load) {
        benchmark::RegisterBenchmark(
            ("load/" + std::string(loader) + "/" + atlas.label).c_str(),
            [&atlas, load](benchmark::State& state) { timeLoads(state, atlas, load); })
            ->Unit(benchmark::kMillisecond)
            ->MinTime(0.2);
    };
    add("bare_expat", bareExpatLoad);
    add("torvex", torvexLoad);
    add("pugixml", pugixmlLoad);
}

enum class Heap {
    Reused,   // memory freed by one load serves the next: the parsing and building work alone
    Returned, // the heap goes back to the system before each load, as at program start: the tree's pages
              // are faulted in anew, which costs in proportion to the memory a tree takes
};

double cpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

template <typename Load> double cpuSecondsOfOneLoad(const Atlas& atlas, Heap heap, Load load) {
    if (heap == Heap::Returned)
        malloc_trim(0);
    double start = cpuSeconds();
    auto kept = load(atlas);
    double seconds = cpuSeconds() - start;
    kept.reset();
    return seconds;
}

struct Best {
    double bare = 1e9, torvex = 1e9, pugixml = 1e9;
};

// The three loads take turns, round after round, so that a machine shared with other work disturbs them
// alike; the least disturbed (smallest) CPU time of each counts. Page faults are charged as system time.
Best interleavedLoads(const Atlas& atlas, Heap heap) {
    int rounds = static_cast<int>(std::clamp<std::size_t>(100 * kMegabyte / atlas.bytes, 3, 15));
    Best best;
    for (int round = 0; round < rounds; ++round) {
        best.bare = std::min(best.bare, cpuSecondsOfOneLoad(atlas, heap, bareExpatLoad));
        best.torvex = std::min(best.torvex, cpuSecondsOfOneLoad(atlas, heap, torvexLoad));
        best.pugixml = std::min(best.pugixml, cpuSecondsOfOneLoad(atlas, heap, pugixmlLoad));
    }
    return best;
}

void printComparison(const Atlas& atlas) {
    Best reused = interleavedLoads(atlas, Heap::Reused);
    Best returned = interleavedLoads(atlas, Heap::Returned);
    double torvexMemory = keptBytesPerFileByte(atlas, [&] { return torvexLoad(atlas); });
    double pugixmlMemory = keptBytesPerFileByte(atlas, [&] { return pugixmlLoad(atlas); });
    auto row = [&](const char* loader, double reusedSeconds, double returnedSeconds, double memory) {
        std::cout << std::setw(6) << atlas.label << "  " << std::left << std::setw(11) << loader << std::right
                  << std::setprecision(0) << std::setw(7) << atlas.bytes / reusedSeconds / 1e6
                  << std::setprecision(2) << std::setw(8) << reusedSeconds / reused.bare << " |"
                  << std::setprecision(0) << std::setw(7) << atlas.bytes / returnedSeconds / 1e6
                  << std::setprecision(2) << std::setw(8) << returnedSeconds / returned.bare << " |";
        if (memory > 0)
            std::cout << std::setw(8) << memory;
        std::cout << '\n';
    };
    row("bare_expat", reused.bare, returned.bare, 0);
    row("torvex", reused.torvex, returned.torvex, torvexMemory);
    row("pugixml", reused.pugixml, returned.pugixml, pugixmlMemory);
}

Atlas writeAtlas(const fs::path& folder, std::size_t megabytes) {
    Atlas atlas{std::to_string(megabytes) + "MB", folder / ("atlas-" + std::to_string(megabytes) + "MB.xml")};
    std::string text = AtlasWriter(megabytes * kMegabyte).write();
    std::ofstream(atlas.path, std::ios::binary) << text;
    atlas.bytes = text.size();
    return atlas;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::size_t> sizes = {2, 20};
    std::vector<char*> arguments;
    for (int i = 0; i < argc; ++i) {
        if (std::string(argv[i]) == "--large")
            sizes.push_back(100);
        else
            arguments.push_back(argv[i]);
    }
    int count = static_cast<int>(arguments.size());
    benchmark::Initialize(&count, arguments.data());
    // Keep freed memory in the heap, big blocks included, unless a measurement hands it back itself.
    mallopt(M_MMAP_MAX, 0);
    mallopt(M_TRIM_THRESHOLD, std::numeric_limits<int>::max());

    fs::path folder = fs::temp_directory_path() / ("torvex-bench-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    std::vector<Atlas> atlases;
    for (std::size_t megabytes : sizes)
        atlases.push_back(writeAtlas(folder, megabytes));
    for (const Atlas& atlas : atlases)
        registerLoads(atlas);
    benchmark::RunSpecifiedBenchmarks();

    std::cout << "\nLoads taking turns, least CPU time of each:\n"
              << "             heap reused between loads | heap returned before each |\n"
              << "size    loader        MB/s  x bare |   MB/s  x bare | kept memory / file size\n"
              << std::fixed;
    for (const Atlas& atlas : atlases)
        printComparison(atlas);
    fs::remove_all(folder);
    return 0;
}
