#pragma once
// How far apart two texts are, for "did you mean" suggestions.

#include <cstddef>
#include <string>

namespace ui {

// Letters to insert, delete or change to turn `a` into `b` (bytes compared as they are).
std::size_t editDistance(const std::string& a, const std::string& b);

} // namespace ui
