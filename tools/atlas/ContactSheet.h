#pragma once
// A proof sheet for authors: every view picture of a built atlas, small, on black and on white in turn,
// with its flag points (dots) and the hit areas of its sub-regions (boxes with the ring's centre).

#include "BuiltAtlas.h"

#include <filesystem>

namespace atlas {

bool writeContactSheet(const BuiltAtlas& atlas, const std::filesystem::path& bundle,
                       const std::filesystem::path& output);

} // namespace atlas
