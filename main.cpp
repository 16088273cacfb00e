// Until the viewer exists: loads the bundle's data file and prints the region tree and the index size.

#include "TorvexContent.h"

#include <filesystem>
#include <iostream>
#include <memory>
#include <string_view>
#include <vector>

namespace {

constexpr std::string_view kDataFile = "torvex.xml";
constexpr std::string_view kTestBundle = "tests/data/bundle";

const std::vector<std::unique_ptr<TreeNode>>& childrenOf(const TreeNode* node) {
    static const std::vector<std::unique_ptr<TreeNode>> none;
    return node ? node->children : none;
}

// A region lists its views in its first child and its sub-regions in its last.
void printRegion(const TreeNode& region, int depth) {
    std::cout << std::string(2 * depth, ' ') << region.getHeader() << "  [";
    const char* separator = "";
    for (const auto& view : childrenOf(region.firstChild())) {
        std::cout << separator << view->getHeader();
        separator = ", ";
    }
    std::cout << "]\n";
    for (const auto& subRegion : childrenOf(region.lastChild())) {
        if (subRegion->key == "part")
            printRegion(*subRegion, depth + 1);
    }
}

std::filesystem::path defaultBundle() {
    std::filesystem::path built = TORVEX_BUILD_BUNDLE_DIR;
    if (std::filesystem::exists(built / kDataFile))
        return built;
    std::cerr << "torvex: no " << kDataFile << " in " << built.string() << " yet; using the test bundle "
              << kTestBundle << '\n';
    return kTestBundle;
}

} // namespace

int main(int argc, char** argv) {
    std::filesystem::path bundle;
    for (int i = 1; i < argc; ++i) {
        std::string_view argument = argv[i];
        if (argument == "--bundle" && i + 1 < argc) {
            bundle = argv[++i];
        } else {
            std::cerr << "usage: torvex [--bundle DIR]\n";
            return 2;
        }
    }
    TorvexContent content(bundle.empty() ? defaultBundle() : bundle);
    if (content.parseXMLFileAtFile(kDataFile) == TorvexContent::LoadStatus::Unreadable)
        return 1;
    if (!content.carve())
        return 1;
    printRegion(*content.root, 0);
    std::cout << content.indexDictionary.size() << " index terms, "
              << childrenOf(content.allInfo->lastChild()).size() << " information entries\n";
    return 0;
}
