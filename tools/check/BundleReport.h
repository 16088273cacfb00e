#pragma once
// What a reader of the atlas will meet, for the author to read over: the region tree with its views
// (aliases, derived views, flag counts), the English and Latin index lists the program builds, and the
// quiz areas with the number of questions each offers.

#include "XmlDocument.h"

#include <string>
#include <vector>

namespace check {

struct IndexLists {
    std::vector<std::string> english;
    std::vector<std::string> latin;
};

// The program's index: the dictionary's terms without "Label", then the title of each entry whose id is
// a term and whose title is not listed yet, with its Latin name in the second list; both sorted without
// regard to case.
IndexLists indexListsOf(const XmlElement& topElement);

std::string bundleReport(const XmlElement& topElement);

} // namespace check
