// torvex-atlas: builds a bundle's atlas (torvex.xml and the view pictures) from an authoring file.
//
//   torvex-atlas SOURCE.atlas BUNDLE [--sheet PROOF.png|PROOF.pdf [--pages FIRST-LAST]] [--strict]
//   torvex-atlas --shapes DRAWING.svg
//   torvex-atlas --version

#include "Artwork.h"
#include "AtlasBuilder.h"
#include "AtlasReader.h"
#include "ContactSheet.h"
#include "DataFile.h"
#include "IndentedText.h"

#include <cstdio>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

int usage() {
    std::cerr << "usage: torvex-atlas SOURCE.atlas BUNDLE [--sheet PROOF.png|PROOF.pdf [--pages FIRST-LAST]] "
                 "[--strict]\n"
                 "       torvex-atlas --shapes DRAWING.svg   (lists the drawing's elements with an id)\n"
                 "       torvex-atlas --version\n";
    return 2;
}

int listShapes(const std::string& file) {
    atlas::Artwork artwork(file);
    auto shapes = artwork.namedShapes();
    std::printf("%-24s %-24s %-24s %9s %9s\n", "id", "label", "title", "width", "height");
    for (const auto& shape : shapes) {
        atlas::Box box = artwork.geometry(shape.id);
        std::printf("%-24s %-24s %-24s %9.1f %9.1f\n", shape.id.c_str(), shape.label.c_str(),
                    shape.title.c_str(), box.width, box.height);
    }
    if (shapes.empty())
        std::cerr << file << ": no element has an id; give the shapes ids in the drawing program\n";
    return 0;
}

struct Options {
    std::string source, bundle, sheet;
    atlas::PageRange pages;
    bool strict = false;
};

// "3" or "2-5"; nullopt for anything else.
std::optional<atlas::PageRange> pageRange(const std::string& text) {
    atlas::PageRange range;
    char dash = 0;
    std::istringstream in(text);
    if (!(in >> range.first) || range.first == 0)
        return std::nullopt;
    range.last = range.first;
    if (in >> dash && (dash != '-' || !(in >> range.last) || range.last < range.first))
        return std::nullopt;
    return range;
}

std::optional<Options> parse(const std::vector<std::string>& args) {
    Options options;
    std::vector<std::string> plain;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--strict")
            options.strict = true;
        else if (args[i] == "--sheet" && i + 1 < args.size())
            options.sheet = args[++i];
        else if (args[i] == "--pages" && i + 1 < args.size()) {
            auto range = pageRange(args[++i]);
            if (!range)
                return std::nullopt;
            options.pages = *range;
        } else if (args[i].starts_with("--"))
            return std::nullopt;
        else
            plain.push_back(args[i]);
    }
    if (plain.size() != 2)
        return std::nullopt;
    options.source = plain[0];
    options.bundle = plain[1];
    return options;
}

int build(const Options& options) {
    atlas::AtlasSource source = atlas::readAtlas(options.source);
    atlas::AtlasBuilder builder(source, options.bundle);
    atlas::BuiltAtlas built = builder.build();
    const char* kind = options.strict ? ": error: " : ": warning: ";
    std::vector<std::string> warnings;
    for (const atlas::AuthoringWarning& warning : builder.warnings()) {
        warnings.push_back(options.source + ":" + std::to_string(warning.line) + ": " + warning.message);
        std::cerr << options.source << ":" << warning.line << kind << warning.message << "\n";
    }
    if (!options.sheet.empty() &&
        !atlas::writeContactSheet(built, options.bundle, options.sheet, warnings, options.pages)) {
        std::cerr << "torvex-atlas: cannot write " << options.sheet << "\n";
        return 1;
    }
    if (options.strict && !warnings.empty()) {
        std::cerr << "torvex-atlas: " << warnings.size() << " warnings are errors with --strict; "
                  << options.bundle << "/torvex.xml is not written\n";
        return 1;
    }
    if (!atlas::writeDataFile(built, std::filesystem::path(options.bundle) / "torvex.xml")) {
        std::cerr << "torvex-atlas: cannot write " << options.bundle << "/torvex.xml\n";
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 1 && args[0] == "--version") {
        std::cout << "torvex-atlas " << TORVEX_VERSION << "\n";
        return 0;
    }
    try {
        if (args.size() == 2 && args[0] == "--shapes")
            return listShapes(args[1]);
        auto options = parse(args);
        return options ? build(*options) : usage();
    } catch (const atlas::AuthoringError& error) {
        std::cerr << error.what() << "\n";
        return 1;
    }
}
