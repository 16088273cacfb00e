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

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// Whether this build runs under AddressSanitizer: cases that need hundreds of megabytes are left to
// the normal build.
#if defined(__SANITIZE_ADDRESS__)
#define HOSTILE_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define HOSTILE_SANITIZED 1
#endif
#endif
#ifndef HOSTILE_SANITIZED
#define HOSTILE_SANITIZED 0
#endif

class HostileBundle {
public:
    HostileBundle();
    ~HostileBundle();
    HostileBundle(const HostileBundle&) = delete;
    HostileBundle& operator=(const HostileBundle&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path file(const std::string& name) const { return path_ / name; }
    // A folder beside the bundle for the program's documents.
    const std::filesystem::path& home() const { return home_; }

    void write(const std::string& name, const std::string& bytes) const;
    void remove(const std::string& name) const;
    // Removes NAME and NAME@2x (for PNG names).
    void removePicture(const std::string& name) const;
    // Writes NAME and removes its @2x file, so that the program reads these bytes.
    void replacePicture(const std::string& name, const std::string& bytes) const;
    void replaceAtlas(const std::string& xml) const { write("torvex.xml", xml); }

    // Every picture file of the copy, relative to it, @2x files named as the program asks for them.
    std::vector<std::string> pictureNames(const std::string& folder) const;

private:
    std::filesystem::path root_;
    std::filesystem::path path_;
    std::filesystem::path home_;
};

std::string readWholeFile(const std::filesystem::path& path);

// ---- Picture bytes

// A PNG of one colour.
std::string pngBytes(int width, int height, double shade = 0.5);
// A JPEG of one colour.
std::string jpegBytes(int width, int height, double shade = 0.5);
// A black 8-bit grey PNG of any size, encoded by hand in a few hundred kilobytes (13 bits for every
// 258 pixels), so that a picture of 10000 x 10000 pixels costs the test no memory to make.
std::string blackPngBytes(std::uint32_t width, std::uint32_t height);

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
