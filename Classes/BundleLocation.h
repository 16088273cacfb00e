#pragma once
// Where the program's bundle is. An installed program reads the bundle installed with it, found
// relative to its own executable, so the package may be unpacked or installed under any prefix; in a
// build tree the bundle is the `bundle` folder beside the program. No path of the machine that built
// the program is compiled in.

#include <filesystem>
#include <optional>
#include <string>

// `chosen` (the --bundle option) when given, else the first folder holding the data file of: the
// installed bundle (../share/torvex from the program's folder) and the build tree's (./bundle);
// nullopt when neither holds it.
std::optional<std::filesystem::path> findBundle(const std::optional<std::string>& chosen);

// What to tell the user when findBundle found none: where it looked, and the way out.
std::string missingBundleMessage();
