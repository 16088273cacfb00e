#pragma once
// A proof sheet for authors: one page per view, its picture at 1.25 times the screen's size with
// numbered flags and its sub-regions' hit areas labelled with their names, a legend of the flags'
// structures beside it, alias views shown as their targets, and a first page with the build's warnings.
// A file name ending in ".pdf" gives a PDF with one page per view; anything else a PNG of the pages
// two abreast. PAGES limits the sheet to those pages, counted from 1 (the warnings' page).

#include "BuiltAtlas.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace atlas {

struct PageRange {
    std::size_t first = 1, last = SIZE_MAX;
};

bool writeContactSheet(const BuiltAtlas& atlas, const std::filesystem::path& bundle,
                       const std::filesystem::path& output, const std::vector<std::string>& warnings = {},
                       PageRange pages = {});

} // namespace atlas
