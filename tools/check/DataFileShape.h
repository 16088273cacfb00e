#pragma once
// How the program finds its way through a data file: the region container and its last child, the top
// region; the information section with its one entry list; a region's views (children of its first
// child) and sub-regions (children of its last child); and the term dictionary the program fills while
// reading, with every region under its header and every flag point under its "infoid".

#include "XmlDocument.h"

#include <map>
#include <set>
#include <string>
#include <vector>

namespace check {

struct DataFileShape {
    const XmlElement* container = nullptr;   // the region container
    const XmlElement* topRegion = nullptr;   // its last child
    const XmlElement* information = nullptr; // the top element's last child
    const XmlElement* entryList = nullptr;   // the information section's child, when it has exactly one
    std::map<std::string, const XmlElement*> entries; // by "id"; the first of equal ids
};

DataFileShape shapeOf(const XmlElement& topElement);

std::vector<const XmlElement*> viewsOf(const XmlElement& region);
std::vector<const XmlElement*> subRegionsOf(const XmlElement& region);
// The first view of REGION named HEADER, or nullptr.
const XmlElement* findView(const XmlElement& region, const std::string& header);
// The view shown for VIEW: itself, or where its "realheader" aliases lead; nullptr when they lead nowhere
// or round in a circle.
const XmlElement* shownView(const XmlElement& region, const XmlElement& view);
// A "realheader" counts only when longer than two characters.
bool isAlias(const XmlElement& view);
// Views derived from another ("Exp" or "." in the name) go back to the view they came from first.
bool isDerived(const std::string& viewName);

// The term dictionary: the first region under each header, the first point under each "infoid" (points
// of "Anterior Xray" views stay out), in document order.
struct TermIndex {
    std::vector<std::string> terms;
    std::map<std::string, const XmlElement*> nodes;
};
TermIndex termIndexOf(const XmlElement& topElement);

// A quiz area is a sub-region of the top region with a pressable rectangle in "Anterior". Its questions
// are drawn along random paths down from the second child of the region the dictionary holds under its
// title, through regions and views to flag points: every "infoid" that such a path can reach.
struct QuizArea {
    std::string title;
    int line = 0;
    std::set<std::string> questions;
};
std::vector<QuizArea> quizAreasOf(const XmlElement& topRegion, const TermIndex& index);

} // namespace check
