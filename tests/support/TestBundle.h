#pragma once
// Bundles made on the spot: an atlas of tests/data with a picture for every picture it names, in a
// temporary folder removed when the program ends. `withBuildArtwork`: the build's artwork and flat view
// pictures of the screen's picture band (320 x 420 points); `withFlatArtwork`: flat pictures in known
// sizes (bar buttons 30 x 20, "circle" 40 x 40, "flag" 20 x 30, "infoButton" 20 x 20, "scalpel" 40 x 40,
// every view 32 x 42).

#include "tests/support/PictureBytes.h"
#include "tests/support/TemporaryFolder.h"

#include <cmath>
#include <list>
#include <regex>
#include <sstream>

namespace testbundle {

namespace fs = std::filesystem;

// A new folder, removed when the program ends.
inline fs::path freshFolder() {
    static std::list<TemporaryFolder> made;
    return made.emplace_back().path();
}

inline fs::path atlasFile(const std::string& atlas) {
    return fs::path(TORVEX_SOURCE_DIR) / "tests/data" / atlas / "torvex.xml";
}

inline std::string atlasText(const std::string& atlas) {
    return readFile(atlasFile(atlas));
}

// A PNG file of one colour, varying with `shade`.
inline void writeFlatPicture(const fs::path& path, int width, int height, double shade) {
    writeFile(path, testpictures::solidPng(width, height, shade, 0.5 * shade, 1 - shade));
}

// The build's artwork, the atlas tests/data/<atlas>, and a flat picture for every view.
inline std::string withBuildArtwork(const std::string& atlas) {
    fs::path folder = freshFolder();
    for (const auto& entry : fs::directory_iterator(TORVEX_BUILD_BUNDLE_DIR)) {
        if (entry.path().filename() != "torvex.xml")
            fs::create_symlink(entry.path(), folder / entry.path().filename());
    }
    fs::create_symlink(atlasFile(atlas), folder / "torvex.xml");
    std::string xml = atlasText(atlas);
    std::regex view(R"re(header="[^"]+" src="([^"/]+/[^"]+)\.png")re");
    for (std::sregex_iterator it(xml.begin(), xml.end(), view), end; it != end; ++it)
        writeFlatPicture(folder / ((*it)[1].str() + "@2x.png"), 640, 840, 0.4);
    return folder.string();
}

// The atlas tests/data/bundle with flat pictures and flat artwork (`name` says for whom).
inline std::string withFlatArtwork(const std::string& /*name*/) {
    fs::path folder = freshFolder();
    fs::copy_file(atlasFile("bundle"), folder / "torvex.xml");
    std::string xml = atlasText("bundle");
    std::regex source(R"re(src="([^"]+\.png)")re");
    double shade = 0.1;
    for (std::sregex_iterator it(xml.begin(), xml.end(), source), end; it != end; ++it) {
        writeFlatPicture(folder / (*it)[1].str(), 32, 42, shade);
        shade = std::fmod(shade + 0.17, 1.0);
    }
    for (const char* name : {"info", "quiz", "help", "flag", "views", "mag", "back_button", "index"}) {
        writeFlatPicture(folder / "Buttons" / (std::string(name) + ".png"), 30, 20, 0.3);
        writeFlatPicture(folder / "Buttons" / (std::string(name) + " pressed.png"), 30, 20, 0.7);
    }
    writeFlatPicture(folder / "Buttons/whiteButton.png", 20, 20, 1);
    writeFlatPicture(folder / "Buttons/blackButton.png", 20, 20, 0);
    writeFlatPicture(folder / "circle.png", 40, 40, 0.9);
    writeFlatPicture(folder / "flag.png", 20, 30, 0.8);
    writeFlatPicture(folder / "infoButton.png", 20, 20, 0.6);
    writeFlatPicture(folder / "scalpel.png", 40, 40, 0.4);
    writeFlatPicture(folder / "bb.png", 40, 46, 0.2);
    writeFlatPicture(folder / "labelBubble.png", 134, 58, 0.2);
    for (int n = 1; n <= 4; ++n)
        writeFlatPicture(folder / "Arrow Hints" / (std::to_string(n) + ".png"), 10, 10, 0.5);
    for (int n = 1; n <= 15; ++n)
        writeFlatPicture(folder / "arrows" / (std::to_string(n) + ".png"), 10, 10, 0.5);
    return folder.string();
}

} // namespace testbundle
