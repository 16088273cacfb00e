#pragma once
// A copy of the build's sample bundle to spoil, without address file, removed when the object goes.
// Pictures go by the names the program uses ("flag.png"); replacing one removes its @2x file.

#include "tests/support/TemporaryFolder.h"

#include "tools/atlas/DataFile.h"

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

// ---- Synthetic atlases, written by the atlas generator's own data file writer

// A region with an "Anterior" view of these points and a "Posterior" view without any, showing the
// sample's pictures in `folder` ("atlas/Thorax"); as the top region its views offer the sub-regions' rings.
inline atlas::BuiltRegion regionSketch(const std::string& header, const std::string& folder,
                                       std::vector<atlas::BuiltPoint> points = {},
                                       const std::string& info = "") {
    atlas::BuiltRegion region{header, {}, {}};
    for (const char* side : {"Anterior", "Posterior"}) {
        atlas::BuiltView view;
        view.header = side;
        view.src = folder + "/" + side + ".png";
        view.infoId = info;
        view.offersHotspots = true;
        region.views.push_back(view);
    }
    region.views.front().points = std::move(points);
    return region;
}

// `region` placed with its top-left corner at `left`, `top` of its parent's picture (design space
// 480 x 630), `percent` its size there: its hit area covers that place, its ring pulses at the centre.
inline atlas::BuiltRegion placedAt(atlas::BuiltRegion region, double left, double top, double percent) {
    double width = 4.8 * percent, height = 6.3 * percent;
    for (atlas::BuiltView& view : region.views) {
        view.hit = atlas::BuiltHit{left, top, width, height, left + width / 2, top + height / 2, 40};
        view.zoom = atlas::BuiltZoom{left, top, percent};
    }
    return region;
}

// The data file: TOP as the shown region, then the information entries.
inline std::string atlasXml(const atlas::BuiltRegion& top, const std::vector<atlas::BuiltEntry>& entries) {
    return atlas::dataFileText(atlas::BuiltAtlas{top, entries});
}
