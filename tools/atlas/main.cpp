// torvex-atlas: builds a bundle's atlas (torvex.xml and the view pictures) from an authoring file.
//
//   torvex-atlas SOURCE.atlas BUNDLE [--sheet PROOF.png]
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
#include <string>
#include <vector>

namespace {

int usage() {
    std::cerr << "usage: torvex-atlas SOURCE.atlas BUNDLE [--sheet PROOF.png]\n"
                 "       torvex-atlas --shapes DRAWING.svg   (lists the drawing's named shapes)\n"
                 "       torvex-atlas --version\n";
    return 2;
}

int listShapes(const std::string& file) {
    atlas::Artwork artwork(file, "");
    for (const auto& shape : artwork.titledShapes()) {
        atlas::Box box = artwork.box(shape.id);
        std::printf("%-18s %-30s %7.1f %7.1f %7.1f %7.1f\n", shape.id.c_str(), shape.title.c_str(), box.x,
                    box.y, box.width, box.height);
    }
    return 0;
}

int build(const std::string& sourceFile, const std::string& bundle, const std::string& sheet) {
    atlas::AtlasSource source = atlas::readAtlas(sourceFile);
    atlas::AtlasBuilder builder(source, bundle);
    atlas::BuiltAtlas built = builder.build();
    for (const std::string& note : builder.notes())
        std::cerr << sourceFile << ": note: " << note << "\n";
    if (!atlas::writeDataFile(built, std::filesystem::path(bundle) / "torvex.xml")) {
        std::cerr << "torvex-atlas: cannot write " << bundle << "/torvex.xml\n";
        return 1;
    }
    if (!sheet.empty() && !atlas::writeContactSheet(built, bundle, sheet)) {
        std::cerr << "torvex-atlas: cannot write " << sheet << "\n";
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
        if (args.size() == 2)
            return build(args[0], args[1], "");
        if (args.size() == 4 && args[2] == "--sheet")
            return build(args[0], args[1], args[3]);
        return usage();
    } catch (const atlas::AuthoringError& error) {
        std::cerr << error.what() << "\n";
        return 1;
    }
}
