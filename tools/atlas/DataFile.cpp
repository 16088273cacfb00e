#include "DataFile.h"

#include <cstdio>
#include <fstream>
#include <sstream>

namespace atlas {

std::string escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

namespace {

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

std::string attribute(const std::string& name, const std::string& value) {
    return " " + name + "=\"" + escaped(value) + "\"";
}

void writeView(std::ostream& out, const BuiltView& view, const std::string& indent) {
    out << indent << "<view" << attribute("header", view.header) << attribute("src", view.src);
    if (!view.realheader.empty())
        out << attribute("realheader", view.realheader);
    if (!view.v.empty())
        out << attribute("v", view.v);
    out << ">\n" << indent << "  <points>\n";
    for (const BuiltPoint& point : view.points) {
        out << indent << "    <point" << attribute("x", number(point.x)) << attribute("y", number(point.y))
            << attribute("infoid", point.infoid) << "/>\n";
    }
    out << indent << "  </points>\n";
    if (const auto& hit = view.hit) {
        out << indent << "  <hitarea" << attribute("x", number(hit->x)) << attribute("y", number(hit->y))
            << attribute("width", number(hit->width)) << attribute("height", number(hit->height))
            << attribute("sx", number(hit->sx)) << attribute("sy", number(hit->sy))
            << attribute("sscale", number(hit->sscale)) << "/>\n";
    } else if (view.offersHotspots) {
        out << indent << "  <hitarea exist=\"true\"/>\n";
    }
    if (!view.infoId.empty())
        out << indent << "  <info" << attribute("id", view.infoId) << "/>\n";
    if (const auto& zoom = view.zoom) {
        out << indent << "  <zoomout" << attribute("x", number(zoom->x)) << attribute("y", number(zoom->y))
            << attribute("scale", number(zoom->scale)) << "/>\n";
    }
    out << indent << "</view>\n";
}

void writeRegion(std::ostream& out, const BuiltRegion& region, const std::string& indent) {
    out << indent << "<part" << attribute("header", region.header) << ">\n";
    out << indent << "  <views>\n";
    for (const BuiltView& view : region.views)
        writeView(out, view, indent + "    ");
    out << indent << "  </views>\n";
    out << indent << "  <parts>\n";
    for (const BuiltRegion& sub : region.regions)
        writeRegion(out, sub, indent + "    ");
    out << indent << "  </parts>\n";
    out << indent << "</part>\n";
}

} // namespace

std::string dataFileText(const BuiltAtlas& atlas) {
    std::ostringstream out;
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<torvex>\n  <regions>\n";
    writeRegion(out, atlas.top, "    ");
    out << "  </regions>\n  <information>\n    <entries>\n";
    for (const BuiltEntry& entry : atlas.entries) {
        out << "      <entry" << attribute("id", entry.id) << attribute("title", entry.title)
            << attribute("titlelatin", entry.latin) << ">" << escaped(entry.text) << "</entry>\n";
    }
    out << "    </entries>\n  </information>\n</torvex>\n";
    return out.str();
}

bool writeDataFile(const BuiltAtlas& atlas, const std::filesystem::path& path) {
    std::filesystem::path partial = path;
    partial += ".partial";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out << dataFileText(atlas);
        if (!out)
            return false;
    }
    std::error_code error;
    std::filesystem::rename(partial, path, error);
    return !error;
}

} // namespace atlas
