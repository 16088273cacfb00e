#pragma once
// Turns an authoring file into an AtlasSource, checking what can be checked without the artwork:
// known keywords, numbers and colours, structures and styles that exist, views that a region does not
// name twice, aliases whose target the region has. Every problem is an AuthoringError with its line.

#include "AtlasSource.h"
#include "IndentedText.h"

#include <filesystem>

namespace atlas {

AtlasSource readAtlas(const std::filesystem::path& file);
// The same for text already in memory; FILE names it in errors and anchors relative artwork paths.
AtlasSource readAtlasText(const std::string& text, const std::filesystem::path& file);

} // namespace atlas
