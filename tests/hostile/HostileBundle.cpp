#include "HostileBundle.h"

#include "tools/atlas/DataFile.h"

#include <sstream>

namespace fs = std::filesystem;

namespace {

bool endsWith(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

} // namespace

HostileBundle::HostileBundle() : path_(folder_.path() / "bundle") {
    fs::copy(TORVEX_BUILD_BUNDLE_DIR, path_, fs::copy_options::recursive);
    fs::remove(path_ / "url.txt");
    fs::create_directories(home());
}

void HostileBundle::removePicture(const std::string& name) const {
    remove(name);
    if (endsWith(name, ".png"))
        remove(name.substr(0, name.size() - 4) + "@2x.png");
}

void HostileBundle::replacePicture(const std::string& name, const std::string& bytes) const {
    removePicture(name);
    write(name, bytes);
}

std::vector<std::string> HostileBundle::pictureNames() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(path_)) {
        std::string name = entry.path().lexically_relative(path_).string();
        if (endsWith(name, "@2x.png"))
            names.push_back(name.substr(0, name.size() - 7) + ".png");
        else if (endsWith(name, ".png") || endsWith(name, ".jpg"))
            names.push_back(name);
    }
    return names;
}

namespace {

std::string number(double value) {
    std::ostringstream text;
    text << value;
    return text.str();
}

void writeView(std::ostringstream& out, const ViewSketch& view, const RegionSketch& region, bool top) {
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

void writeRegion(std::ostringstream& out, const RegionSketch& region, bool top) {
    out << "<part header=\"" << atlas::escaped(region.header) << "\"><views>\n";
    for (const ViewSketch& view : region.views)
        writeView(out, view, region, top);
    out << "</views><parts>\n";
    for (const RegionSketch& sub : region.subRegions)
        writeRegion(out, sub, false);
    out << "</parts></part>\n";
}

} // namespace

RegionSketch regionSketch(const std::string& header, const std::string& folder,
                          std::vector<PointSketch> points, const std::string& info) {
    RegionSketch region;
    region.header = header;
    region.views = {ViewSketch{"Anterior", folder + "/Anterior.png", std::move(points), info},
                    ViewSketch{"Posterior", folder + "/Posterior.png", {}, info}};
    return region;
}

std::string atlasXml(const RegionSketch& top, const std::vector<EntrySketch>& entries) {
    std::ostringstream out;
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<torvex>\n<regions>\n";
    writeRegion(out, top, true);
    out << "</regions>\n<information>\n<entries>\n";
    for (const EntrySketch& entry : entries)
        out << "<entry id=\"" << atlas::escaped(entry.id) << "\" title=\"" << atlas::escaped(entry.title)
            << "\" titlelatin=\"" << atlas::escaped(entry.latin) << "\">" << atlas::escaped(entry.text)
            << "</entry>\n";
    out << "</entries>\n</information>\n</torvex>\n";
    return out.str();
}
