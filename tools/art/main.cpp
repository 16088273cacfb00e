// torvex-art BUNDLE: draws the program's artwork into the bundle folder BUNDLE.

#include "Catalogue.h"

#include <exception>
#include <iostream>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: torvex-art BUNDLE_FOLDER\n";
        return 2;
    }
    try {
        int count = art::writeBundleArtwork(argv[1]);
        std::cout << "torvex-art: " << count << " pictures in " << argv[1] << "\n";
        return 0;
    } catch (const std::exception& error) {
        std::cerr << "torvex-art: " << error.what() << "\n";
        return 1;
    }
}
