#pragma once
// Bundles to spoil. Each one is a copy of the build's sample bundle in a folder of its own, removed
// when the object goes; the copy has no address file, so that no run goes looking for a server.
//
//     HostileBundle bundle;
//     bundle.removePicture("atlas/HumanBody/Anterior.png");     // and its @2x file
//     bundle.replacePicture("flag.png", std::string());         // a zero-byte flag
//     bundle.replaceAtlas(atlasXml(top, entries));              // a synthetic data file
//
// Picture names are the names the data file and the program use ("flag.png"); the sample keeps most
// pictures as NAME@2x.png only, which the program prefers, so replacing a picture removes its @2x file.

#include "tests/support/TemporaryFolder.h"

#include "tools/atlas/DataFile.h"

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

class HostileBundle {
public:
    HostileBundle() : path_(folder_.path() / "bundle") {
        std::filesystem::copy(TORVEX_BUILD_BUNDLE_DIR, path_, std::filesystem::copy_options::recursive);
        std::filesystem::remove(path_ / "url.txt");
        std::filesystem::create_directories(home());
    }

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path file(const std::string& name) const { return path_ / name; }
    // A folder beside the bundle for the program's documents.
    std::filesystem::path home() const { return folder_.path() / "home"; }

    void write(const std::string& name, const std::string& bytes) const { writeFile(file(name), bytes); }
    void remove(const std::string& name) const { std::filesystem::remove_all(file(name)); }
    // Removes NAME and NAME@2x (for PNG names).
    void removePicture(const std::string& name) const {
        remove(name);
        if (name.ends_with(".png"))
            remove(name.substr(0, name.size() - 4) + "@2x.png");
    }
    // Writes NAME and removes its @2x file, so that the program reads these bytes.
    void replacePicture(const std::string& name, const std::string& bytes) const {
        removePicture(name);
        write(name, bytes);
    }
    void replaceAtlas(const std::string& xml) const { write("torvex.xml", xml); }

private:
    TemporaryFolder folder_;
    std::filesystem::path path_;
};

// ---- Synthetic atlases in the data file's shape

struct PointSketch {
    double x = 240, y = 315;
    std::string infoid;
};

struct ViewSketch {
    std::string header = "Anterior";
    std::string src = "atlas/HumanBody/Anterior.png";
    std::vector<PointSketch> points;
    std::string info; // the id of the view's information entry; none when empty
};

// A region and where it sits in its parent's picture: `x`, `y` is its top-left corner in design space
// (480 x 630), `scale` its size there in percent; its hit area covers that place.
struct RegionSketch {
    std::string header;
    std::vector<ViewSketch> views{ViewSketch{}};
    std::vector<RegionSketch> subRegions;
    double x = 0, y = 0, scale = 100;

    RegionSketch& placedAt(double left, double top, double percent) {
        x = left, y = top, scale = percent;
        return *this;
    }
};

// A region with an "Anterior" view of these points and a "Posterior" view without any, showing the
// sample's pictures in `folder` ("atlas/Thorax").
inline RegionSketch regionSketch(const std::string& header, const std::string& folder,
                                 std::vector<PointSketch> points = {}, const std::string& info = "") {
    RegionSketch region;
    region.header = header;
    region.views = {ViewSketch{"Anterior", folder + "/Anterior.png", std::move(points), info},
                    ViewSketch{"Posterior", folder + "/Posterior.png", {}, info}};
    return region;
}

struct EntrySketch {
    std::string id, title, latin, text;
};

// The data file: TOP as the shown region, then the information entries.
namespace hostile_detail {

inline std::string number(double value) {
    std::ostringstream text;
    text << value;
    return text.str();
}

inline void writeView(std::ostringstream& out, const ViewSketch& view, const RegionSketch& region, bool top) {
    out << "<view header=\"" << atlas::escaped(view.header) << "\" src=\"" << atlas::escaped(view.src)
        << "\"><points>\n";
    for (const PointSketch& point : view.points)
        out << "<point x=\"" << number(point.x) << "\" y=\"" << number(point.y) << "\" infoid=\""
            << atlas::escaped(point.infoid) << "\"/>\n";
    out << "</points>";
    if (top) {
        out << "<hitarea exist=\"true\"/>";
    } else {
        // The hit area is the region's place in its parent's picture; the ring pulses at its centre.
        double width = 4.8 * region.scale, height = 6.3 * region.scale;
        out << "<hitarea x=\"" << number(region.x) << "\" y=\"" << number(region.y) << "\" width=\""
            << number(width) << "\" height=\"" << number(height) << "\" sx=\"" << number(region.x + width / 2)
            << "\" sy=\"" << number(region.y + height / 2) << "\" sscale=\"40\"/>";
    }
    if (!view.info.empty())
        out << "<info id=\"" << atlas::escaped(view.info) << "\"/>";
    if (!top)
        out << "<zoomout x=\"" << number(region.x) << "\" y=\"" << number(region.y) << "\" scale=\""
            << number(region.scale) << "\"/>";
    out << "</view>\n";
}

inline void writeRegion(std::ostringstream& out, const RegionSketch& region, bool top) {
    out << "<part header=\"" << atlas::escaped(region.header) << "\"><views>\n";
    for (const ViewSketch& view : region.views)
        writeView(out, view, region, top);
    out << "</views><parts>\n";
    for (const RegionSketch& sub : region.subRegions)
        writeRegion(out, sub, false);
    out << "</parts></part>\n";
}

} // namespace hostile_detail

inline std::string atlasXml(const RegionSketch& top, const std::vector<EntrySketch>& entries) {
    std::ostringstream out;
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<torvex>\n<regions>\n";
    hostile_detail::writeRegion(out, top, true);
    out << "</regions>\n<information>\n<entries>\n";
    for (const EntrySketch& entry : entries)
        out << "<entry id=\"" << atlas::escaped(entry.id) << "\" title=\"" << atlas::escaped(entry.title)
            << "\" titlelatin=\"" << atlas::escaped(entry.latin) << "\">" << atlas::escaped(entry.text)
            << "</entry>\n";
    out << "</entries>\n</information>\n</torvex>\n";
    return out.str();
}
