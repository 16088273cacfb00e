#pragma once
// An atlas in the data file's shape of any size, written to its file as it is made, for the largest
// loading benchmark and the huge data file test: regions four levels deep with six views of 20 to 60
// points each, then one information entry per structure with a text long enough to bring the file to its
// size. Every view shows a picture of the sample atlas.

#include <algorithm>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

class LargeAtlasWriter {
public:
    explicit LargeAtlasWriter(std::size_t bytes) : target_(bytes) {}

    void write(const std::filesystem::path& path) {
        out_.open(path, std::ios::binary | std::ios::trunc);
        out_ << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<torvex>\n<regions>\n";
        writeRegion("Body", 1);
        out_ << "</regions>\n<information>\n<entries>\n";
        writeEntries();
        out_ << "</entries>\n</information>\n</torvex>\n";
        out_.close();
    }

private:
    static constexpr int kStructures = 20000;
    static constexpr const char* kViews[] = {"Anterior", "Posterior",     "Lateral",
                                             "Medial",   "Anterior Skin", "Anterior Xray"};

    std::size_t written() { return static_cast<std::size_t>(out_.tellp()); }
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
        std::size_t textBytes = (target_ - std::min(target_, written())) / kStructures;
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
