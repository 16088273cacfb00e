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

#include <filesystem>
#include <string>
#include <vector>

class HostileBundle {
public:
    HostileBundle();

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path file(const std::string& name) const { return path_ / name; }
    // A folder beside the bundle for the program's documents.
    std::filesystem::path home() const { return folder_.path() / "home"; }

    void write(const std::string& name, const std::string& bytes) const { writeFile(file(name), bytes); }
    void remove(const std::string& name) const { std::filesystem::remove_all(file(name)); }
    // Removes NAME and NAME@2x (for PNG names).
    void removePicture(const std::string& name) const;
    // Writes NAME and removes its @2x file, so that the program reads these bytes.
    void replacePicture(const std::string& name, const std::string& bytes) const;
    void replaceAtlas(const std::string& xml) const { write("torvex.xml", xml); }

    // Every picture file of the copy, relative to it, @2x files named as the program asks for them.
    std::vector<std::string> pictureNames() const;

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
RegionSketch regionSketch(const std::string& header, const std::string& folder,
                          std::vector<PointSketch> points = {}, const std::string& info = "");

struct EntrySketch {
    std::string id, title, latin, text;
};

// The data file: TOP as the shown region, then the information entries.
std::string atlasXml(const RegionSketch& top, const std::vector<EntrySketch>& entries);
