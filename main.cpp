// Process entry: launches the atlas (start screen, then the viewer) in a window, or headless with a
// script. `--summary` prints the bundle's region tree and index size instead, `--version` the version;
// `--offline` starts without looking at the network, so that run fetches no start content.
//
// Without --bundle the program reads the bundle installed beside it (../share/torvex from the
// executable's folder), else the one its build tree made beside it; without either it stops with exit
// status 1.

#include "BundleLocation.h"
#include "DeepLink.h"
#include "KeyboardCommands.h"
#include "Managers/SettingsManager.h"
#include "StartupError.h"
#include "TorvexAppDelegate.h"
#include "TorvexContent.h"

#include "Platform/Bundle.h"
#include "Platform/Options.h"
#include "Platform/RunMain.h"

#include <cmath>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

namespace {

constexpr std::string_view kDataFile = "torvex.xml";

// The atlas's own options, which --help lists after the toolkit's.
constexpr const char* kProgramOptions =
    "Options of the atlas itself:\n"
    "  --summary         print the bundle's regions and index size, then exit\n"
    "  --version         print the version, then exit\n"
    "  --go TERM         start at TERM of the index (English or Latin; the one term it begins will do)\n"
    "  torvex:TERM       the same as a link (percent-encoded, torvex:Heart%20wall)\n"
    "  --offline         leave the network alone: fetch no start content in this run\n";

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
    content.parseXMLFileAtFile(kDataFile);
    content.carve();
    if (std::string problem = StartupError::dataFileProblem(content, bundle / kDataFile); !problem.empty()) {
        std::cerr << "torvex: " << problem << '\n';
        return 1;
    }
    printRegion(*content.root, 0);
    std::cout << content.indexDictionary.size() << " index terms, "
              << childrenOf(content.allInfo->lastChild()).size() << " information entries\n";
    return 0;
}

// Takes the program's own `option` out of the arguments, which otherwise belong to the toolkit.
bool takeOption(int& argc, char** argv, std::string_view option) {
    bool found = false;
    int kept = 0;
    for (int i = 0; i < argc; ++i) {
        if (i > 0 && std::string_view(argv[i]) == option)
            found = true;
        else
            argv[kept++] = argv[i];
    }
    argc = kept;
    return found;
}

// The window's title and icon, the keys in --help, and the window's size kept in the settings between
// runs.
ui::ProgramHooks desktopHooks(const std::optional<std::filesystem::path>& bundle) {
    ui::ProgramHooks hooks;
    hooks.title = "Torvex";
    if (bundle) {
        for (const char* icon : {"Icons/torvex-128.png", "Icons/torvex-64.png"})
            hooks.iconFiles.push_back((*bundle / icon).string());
    }
    hooks.help = std::string(kProgramOptions) + "\n" + KeyboardCommands::help();
    hooks.lastWindowSize = []() -> std::optional<ui::Size> {
        auto size = SettingsManager::getInstance().windowSize();
        if (!size)
            return std::nullopt;
        return ui::Size{static_cast<ui::Float>(size->width), static_cast<ui::Float>(size->height)};
    };
    hooks.keepWindowSize = [](ui::Size size) {
        SettingsManager::getInstance().setWindowSize(
            {static_cast<int>(std::lround(size.width)), static_cast<int>(std::lround(size.height))});
    };
    return hooks;
}

} // namespace

int main(int argc, char** argv) {
    if (takeOption(argc, argv, "--version")) {
        std::cout << "torvex " << TORVEX_VERSION << '\n';
        return 0;
    }
    bool summary = takeOption(argc, argv, "--summary");
    bool offline = takeOption(argc, argv, "--offline");
    std::string error;
    std::optional<std::string> startTerm = DeepLink::takeFromArguments(argc, argv, error);
    if (!error.empty()) {
        std::cerr << "torvex: " << error << '\n';
        return 2;
    }
    auto options = ui::Options::parse(argc, argv, error);
    if (!options) {
        if (!summary) // the toolkit reports it with its usage
            return ui::runMain(argc, argv, [](ui::Application&) {});
        std::cerr << "torvex: " << error << '\n';
        return 2;
    }
    std::optional<std::filesystem::path> bundle = findBundle(options->bundle);
    if (!bundle && (summary || options->headless) && !options->help) {
        std::cerr << "torvex: " << missingBundleMessage() << '\n';
        return 1;
    }
    if (!bundle && !options->help) // the window says why it cannot start
        return ui::runMain(
            argc, argv, [](ui::Application&) { StartupError::report(missingBundleMessage()); },
            desktopHooks(bundle));
    if (summary)
        return printSummary(*bundle);
    if (bundle)
        ui::Bundle::main().setResourcePath(bundle->string());
    std::unique_ptr<TorvexAppDelegate> delegate;
    return ui::runMain(
        argc, argv,
        [&](ui::Application& application) {
            delegate =
                offline
                    ? std::make_unique<TorvexAppDelegate>(TorvexAppDelegate::ReachabilityTargets::offline())
                    : std::make_unique<TorvexAppDelegate>();
            delegate->startTerm = startTerm;
            delegate->applicationDidFinishLaunching(application);
        },
        desktopHooks(bundle));
}
