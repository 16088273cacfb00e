#include "BundleReport.h"

#include "DataFileShape.h"

#include <algorithm>
#include <cctype>
#include <sstream>

namespace check {

namespace {

bool caseInsensitiveLess(const std::string& a, const std::string& b) {
    return std::ranges::lexicographical_compare(
        a, b, [](unsigned char x, unsigned char y) { return std::tolower(x) < std::tolower(y); });
}

int countPoints(const XmlElement& view) {
    const XmlElement* points = view.child(0);
    return points && points->name == "points" ? int(points->children.size()) : 0;
}

void describeRegion(const XmlElement& region, int depth, std::ostringstream& out) {
    std::string indent(depth * 2, ' ');
    out << indent << region.attribute("header") << "  (level " << depth << ")\n";
    for (const XmlElement* view : viewsOf(region)) {
        out << indent << "    view " << view->attribute("header");
        if (isAlias(*view))
            out << " -> " << view->attribute("realheader");
        else
            out << ": " << countPoints(*view) << " flags";
        if (!view->attribute("v").empty())
            out << ", derived from " << view->attribute("v");
        out << "\n";
    }
    for (const XmlElement* sub : subRegionsOf(region))
        describeRegion(*sub, depth + 1, out);
}

void list(std::ostringstream& out, const std::string& title, const std::vector<std::string>& terms) {
    out << title << " (" << terms.size() << "):\n";
    for (const std::string& term : terms)
        out << "  " << term << "\n";
}

} // namespace

IndexLists indexListsOf(const XmlElement& topElement) {
    TermIndex index = termIndexOf(topElement);
    DataFileShape shape = shapeOf(topElement);
    IndexLists lists;
    for (const std::string& term : index.terms)
        if (term.find("Label") == std::string::npos)
            lists.english.push_back(term);
    if (shape.entryList) {
        for (const auto& entry : shape.entryList->children) {
            if (!index.nodes.contains(entry->attribute("id")))
                continue;
            const std::string& title = entry->attribute("title");
            if (std::ranges::find(lists.english, title) != lists.english.end())
                continue;
            lists.english.push_back(title);
            if (entry->attribute("titlelatin").size() > 1)
                lists.latin.push_back(entry->attribute("titlelatin"));
        }
    }
    std::ranges::stable_sort(lists.english, caseInsensitiveLess);
    std::ranges::stable_sort(lists.latin, caseInsensitiveLess);
    return lists;
}

std::string bundleReport(const XmlElement& topElement) {
    std::ostringstream out;
    DataFileShape shape = shapeOf(topElement);
    if (!shape.topRegion)
        return "no top region\n";
    out << "Regions:\n";
    describeRegion(*shape.topRegion, 0, out);
    out << "Information entries: " << shape.entries.size() << "\n";
    IndexLists lists = indexListsOf(topElement);
    list(out, "English index", lists.english);
    list(out, "Latin index", lists.latin);
    out << "Quiz areas:\n";
    for (const QuizArea& area : quizAreasOf(*shape.topRegion, termIndexOf(topElement)))
        out << "  " << area.title << ": " << area.questions.size() << " questions\n";
    return out.str();
}

} // namespace check
