#pragma once
// The frame of a synthetic atlas in the data file's shape, for the loading benchmarks: the document
// around the regions and the information entries, and views of six kinds, each with 20 to 60 points, a
// hit area, an information link and zoom geometry. A benchmark's writer decides how the regions nest,
// which structures their points name and how long the entry texts are.

#include <cstddef>
#include <random>
#include <string>

class SyntheticAtlas {
public:
    explicit SyntheticAtlas(std::size_t targetBytes) : target_(targetBytes) {}
    virtual ~SyntheticAtlas() = default;

    std::string write() {
        out_ = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<atlas>\n  <regions>\n";
        writeRegions();
        out_ += "  </regions>\n  <information>\n    <entries>\n";
        writeEntries();
        out_ += "    </entries>\n  </information>\n</atlas>\n";
        return std::move(out_);
    }

protected:
    static constexpr const char* kViews[] = {"Anterior", "Posterior",     "Lateral",
                                             "Medial",   "Anterior Skin", "Anterior Xray"};

    virtual void writeRegions() = 0;
    virtual void writeEntries() = 0;

    int random(int low, int high) { return std::uniform_int_distribution(low, high)(engine_); }
    std::string number() { return std::to_string(random(0, 480)) + "." + std::to_string(random(0, 9)); }

    // One view showing `picture`, whose points name structures `firstStructure` to `lastStructure`.
    void writeView(const std::string& region, const char* view, const std::string& picture,
                   int firstStructure, int lastStructure, const std::string& indent) {
        out_ += indent + "<view header=\"" + view + "\" src=\"" + picture + "\" realheader=\"\" v=\"\">\n" +
                indent + "  <points>\n";
        for (int i = random(20, 60); i > 0; --i) {
            out_ += indent + "    <point x=\"" + number() + "\" y=\"" + number() + "\" infoid=\"Label " +
                    std::to_string(random(firstStructure, lastStructure)) + "\"/>\n";
        }
        out_ += indent + "  </points>\n" + indent + "  <hitarea x=\"" + number() + "\" y=\"" + number() +
                "\" width=\"120\" height=\"157\" sx=\"" + number() + "\" sy=\"" + number() +
                "\" sscale=\"60\"/>\n" + indent + "  <info id=\"Info " + region + "\"/>\n" + indent +
                "  <zoomout x=\"" + number() + "\" y=\"" + number() + "\" scale=\"40\"/>\n" + indent +
                "</view>\n";
    }

    std::size_t target_;
    std::string out_;

private:
    std::mt19937 engine_{20240601};
};
