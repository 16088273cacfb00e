// Process entry: launches the atlas (start screen, then the viewer) in a window, or headless with a
// script. `--summary` prints the bundle's region tree and index size instead.
//
// Without --bundle the program reads the bundle installed beside it (../share/torvex from the
// executable's folder), else the one its build made.

#include "TorvexAppDelegate.h"
#include "TorvexContent.h"

#include "Platform/Bundle.h"
#include "Platform/Options.h"
#include "Platform/RunMain.h"

#include <filesystem>
#include <iostream>
#include <memory>
#include <string_view>
#include <vector>

namespace {

constexpr std::string_view kDataFile = "torvex.xml";

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

int printSummary(const std::filesystem::path& bundle) {
    TorvexContent content(bundle);
    if (content.parseXMLFileAtFile(kDataFile) == TorvexContent::LoadStatus::Unreadable)
        return 1;
    if (!content.carve())
        return 1;
    printRegion(*content.root, 0);
    std::cout << content.indexDictionary.size() << " index terms, "
              << childrenOf(content.allInfo->lastChild()).size() << " information entries\n";
    return 0;
}

std::filesystem::path programFile(const char* argv0) {
    std::error_code error;
    std::filesystem::path program = std::filesystem::canonical("/proc/self/exe", error);
    return error ? std::filesystem::path(argv0 ? argv0 : "") : program;
}

// The bundle installed beside the program, else the one its build made.
std::filesystem::path defaultBundle(const char* argv0) {
    std::filesystem::path installed =
        programFile(argv0).parent_path().parent_path() / TORVEX_INSTALL_BUNDLE_DIR;
    if (std::filesystem::exists(installed / kDataFile))
        return installed;
    return TORVEX_BUILD_BUNDLE_DIR;
}

// Takes `--summary` out of the arguments, which otherwise belong to the toolkit.
bool takeSummaryOption(int& argc, char** argv) {
    bool found = false;
    int kept = 0;
    for (int i = 0; i < argc; ++i) {
        if (i > 0 && std::string_view(argv[i]) == "--summary")
            found = true;
        else
            argv[kept++] = argv[i];
    }
    argc = kept;
    return found;
}

} // namespace

int main(int argc, char** argv) {
    bool summary = takeSummaryOption(argc, argv);
    std::filesystem::path bundle = defaultBundle(argc > 0 ? argv[0] : nullptr);
    if (summary) {
        std::string error;
        auto options = ui::Options::parse(argc, argv, error);
        if (!options) {
            std::cerr << "torvex: " << error << '\n';
            return 2;
        }
        return printSummary(options->bundle ? std::filesystem::path(*options->bundle) : bundle);
    }
    ui::Bundle::main().setResourcePath(bundle.string());
    std::unique_ptr<TorvexAppDelegate> delegate;
    return ui::runMain(argc, argv, [&](ui::Application& application) {
        delegate = std::make_unique<TorvexAppDelegate>();
        delegate->applicationDidFinishLaunching(application);
    });
}
