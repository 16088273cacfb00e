#pragma once
// What the program does with an atlas that no error stops and no one explains: views a swipe cannot
// reach, quiz areas without questions, and names too long for the places the program shows them in,
// measured with the program's own font.

#include "AtlasSource.h"
#include "AuthoringWarning.h"

#include <vector>

namespace atlas {

std::vector<AuthoringWarning> adviceOn(const AtlasSource& atlas);

// The room the program gives a text, in points, and the font it sets it in.
struct TextPlace {
    enum class Face { Regular, Italic };
    const char* name;
    double size;
    Face face;
    double room;
};
// The width of TEXT set as PLACE sets it, measured as the program measures.
double widthIn(const TextPlace& place, const std::string& text);

extern const TextPlace bubbleTitle, bubbleLatin, bubbleTitleWithInfo, bubbleLatinWithInfo, headerTitle,
    topHeaderTitle, backCaption, indexRow;

} // namespace atlas
