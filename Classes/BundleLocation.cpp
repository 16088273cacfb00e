#include "BundleLocation.h"

#include <array>
#include <system_error>

namespace {

namespace fs = std::filesystem;

constexpr const char* kDataFile = "torvex.xml";

// The folder of the running executable, symbolic links resolved: a program linked into /usr/bin from
// elsewhere still finds the bundle installed with it.
fs::path programFolder() {
    std::error_code error;
    fs::path program = fs::canonical("/proc/self/exe", error);
    return error ? fs::path() : program.parent_path();
}

// Relative to the program's folder, in the order they are tried. TORVEX_BUNDLE_FROM_PROGRAM is the
// install layout's bundle folder as seen from its programs' folder (CMake computes it).
std::array<fs::path, 2> candidates() {
    fs::path folder = programFolder();
    return {(folder / TORVEX_BUNDLE_FROM_PROGRAM).lexically_normal(), folder / "bundle"};
}

} // namespace

std::optional<fs::path> findBundle(const std::optional<std::string>& chosen) {
    if (chosen)
        return fs::path(*chosen);
    for (const fs::path& candidate : candidates()) {
        std::error_code error;
        if (fs::is_regular_file(candidate / kDataFile, error))
            return candidate;
    }
    return std::nullopt;
}

std::string missingBundleMessage() {
    auto [installed, built] = candidates();
    return "cannot find the atlas's bundle: neither " + installed.string() + " nor " + built.string() +
           " holds " + kDataFile + ". Reinstall the program, or name a bundle with --bundle DIR.";
}
