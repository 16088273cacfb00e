#pragma once
// Writes "torvex.xml": the region container holding the top region, then the information section with
// its one entry list.

#include "BuiltAtlas.h"

#include <filesystem>
#include <string>

namespace atlas {

// Text for an attribute or element: & < > " escaped.
std::string escaped(const std::string& text);

std::string dataFileText(const BuiltAtlas& atlas);
// Writes the file in place of PATH atomically; false when it cannot be written.
bool writeDataFile(const BuiltAtlas& atlas, const std::filesystem::path& path);

} // namespace atlas
