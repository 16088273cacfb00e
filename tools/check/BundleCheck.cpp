#include "BundleCheck.h"

#include "DataFileShape.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

namespace check {

namespace {

// The program keeps one pulse factor per hotspot ring in a table of this size.
constexpr std::size_t maximumHotspots = 20;
constexpr std::size_t questionsPerQuiz = 12;

bool inLateralGroup(const std::string& name) {
    return name.find("Lateral") != std::string::npos || name == "Left Side";
}

class Checker {
public:
    Checker(const XmlElement& top, std::filesystem::path bundle)
        : top_(top), bundle_(std::move(bundle)), shape_(shapeOf(top)) {}

    std::vector<Finding> run() {
        if (!checkDocumentShape())
            return std::move(findings_);
        checkEntries();
        checkRegionHeaders();
        checkRegion(*shape_.topRegion, nullptr);
        checkQuizAreas();
        checkTitlesAreDistinct();
        std::ranges::stable_sort(findings_, {}, &Finding::line);
        return std::move(findings_);
    }

private:
    void error(const XmlElement& at, std::string message) {
        findings_.push_back({Severity::Error, at.line, std::move(message)});
    }
    void warning(const XmlElement& at, std::string message) {
        findings_.push_back({Severity::Warning, at.line, std::move(message)});
    }

    static std::string quoted(const std::string& text) { return "\"" + text + "\""; }
    static std::string regionName(const XmlElement& region) {
        return "region " + quoted(region.attribute("header"));
    }

    bool checkDocumentShape() {
        if (!shape_.container) {
            error(top_, "the top element needs a region container followed by an information section");
            return false;
        }
        if (!shape_.topRegion || shape_.topRegion->name != "part") {
            error(*shape_.container, "the region container's last child must be the top region, a \"part\"");
            return false;
        }
        if (!shape_.entryList) {
            error(*shape_.information, "the information section holds " +
                                           std::to_string(shape_.information->children.size()) +
                                           " elements; it must hold exactly one entry list");
        }
        return true;
    }

    void checkEntries() {
        if (!shape_.entryList)
            return;
        std::set<std::string> ids;
        for (const auto& entry : shape_.entryList->children) {
            const std::string& id = entry->attribute("id");
            if (id.empty())
                warning(*entry, "an information entry without \"id\" can never be shown");
            else if (!ids.insert(id).second)
                warning(*entry,
                        "a second entry with the id " + quoted(id) + ": only the first is ever shown");
        }
    }

    void collectParts(const XmlElement& element, std::vector<const XmlElement*>& parts) {
        if (element.name == "part")
            parts.push_back(&element);
        for (const auto& child : element.children)
            collectParts(*child, parts);
    }

    void checkRegionHeaders() {
        std::vector<const XmlElement*> parts;
        collectParts(top_, parts);
        std::map<std::string, const XmlElement*> first;
        for (const XmlElement* part : parts) {
            const std::string& header = part->attribute("header");
            if (header.empty()) {
                error(*part, "a region without \"header\": it can be neither entered nor indexed");
                continue;
            }
            auto [known, fresh] = first.try_emplace(header, part);
            if (!fresh)
                error(*part, "duplicate region header " + quoted(header) + " (first on line " +
                                 std::to_string(known->second->line) +
                                 "): only the first can be entered and indexed");
        }
    }

    void checkRegion(const XmlElement& region, const XmlElement* parent) {
        if (region.children.size() < 2) {
            error(region, regionName(region) + " needs its view group first and its sub-region group last");
            return;
        }
        if (!findView(region, "Anterior"))
            error(region, regionName(region) + " has no \"Anterior\" view");
        checkViews(region);
        checkHotspotCount(region);
        checkPictureFolders(region);
        checkLateralAliases(region);
        if (parent) {
            checkViewsKnownToParent(region, *parent);
            checkReachable(region, *parent);
        } else
            checkTopRegionRings(region);
        for (const XmlElement* sub : subRegionsOf(region))
            checkRegion(*sub, &region);
    }

    void checkViews(const XmlElement& region) {
        std::set<std::string> headers;
        for (const XmlElement* view : viewsOf(region)) {
            const std::string& header = view->attribute("header");
            if (header.empty()) {
                error(*view, "a view without \"header\" can never be shown");
                continue;
            }
            if (!headers.insert(header).second)
                warning(*view, "a second view " + quoted(header) + " in " + regionName(region) +
                                   ": only the first is used");
            if (isAlias(*view))
                checkAlias(region, *view);
            checkPicture(*view);
            checkViewElements(*view);
        }
    }

    void checkAlias(const XmlElement& region, const XmlElement& view) {
        if (!shownView(region, view)) {
            const XmlElement* target = findView(region, view.attribute("realheader"));
            error(view, target ? "\"realheader\" aliases loop: view " + quoted(view.attribute("header")) +
                                     " leads back to itself"
                               : "\"realheader\" " + quoted(view.attribute("realheader")) +
                                     " names no view of " + regionName(region));
        }
        const XmlElement* points = view.child(0);
        if (points && points->name == "points" && !points->children.empty())
            warning(view, "flag points in the alias view " + quoted(view.attribute("header")) +
                              ": the index can send the viewer into a view it never shows");
    }

    void checkPicture(const XmlElement& view) {
        const std::string& src = view.attribute("src");
        if (src.empty()) {
            if (isAlias(view))
                warning(view, "the alias view " + quoted(view.attribute("header")) +
                                  " has no picture: going back into it shows nothing");
            else
                error(view, "the view " + quoted(view.attribute("header")) + " names no picture (\"src\")");
            return;
        }
        if (!pictureExists(src))
            error(view, "missing picture " + quoted(src));
    }

    bool pictureExists(const std::string& src) const {
        std::filesystem::path path = bundle_ / src;
        if (std::filesystem::is_regular_file(path))
            return true;
        std::filesystem::path doubled =
            path.parent_path() / (path.stem().string() + "@2x" + path.extension().string());
        return std::filesystem::is_regular_file(doubled);
    }

    void checkViewElements(const XmlElement& view) {
        for (std::size_t i = 0; i < view.children.size(); ++i) {
            const XmlElement& element = *view.children[i];
            if (element.name == "points") {
                if (i != 0)
                    warning(element, "\"points\" must be the view's first child, or its flags are not found");
                for (const auto& point : element.children)
                    checkPoint(*point);
            } else if (element.name == "info") {
                const std::string& id = element.attribute("id");
                if (!shape_.entries.contains(id))
                    error(element, "\"info\" id " + quoted(id) + " has no information entry");
            }
        }
    }

    void checkPoint(const XmlElement& point) {
        if (point.name != "point")
            return;
        const std::string& infoid = point.attribute("infoid");
        if (infoid.empty()) {
            error(point, "a flag point without \"infoid\"");
            return;
        }
        if (!shape_.entries.contains(infoid))
            error(point, "the point's \"infoid\" " + quoted(infoid) + " has no information entry");
        if (infoid.find("Label") == std::string::npos)
            warning(point, "the point's \"infoid\" " + quoted(infoid) +
                               " has no \"Label\" in it: the index lists it as a raw term");
    }

    void checkHotspotCount(const XmlElement& region) {
        std::map<std::string, std::size_t> ringsPerView;
        for (const XmlElement* sub : subRegionsOf(region)) {
            std::set<std::string> counted;
            for (const XmlElement* view : viewsOf(*sub)) {
                const std::string& header = view->attribute("header");
                bool hasHit =
                    std::ranges::any_of(view->children, [](const auto& c) { return c->name == "hitarea"; });
                if (hasHit && counted.insert(header).second)
                    ++ringsPerView[header];
            }
        }
        for (const auto& [view, rings] : ringsPerView) {
            if (rings > maximumHotspots)
                error(region, regionName(region) + " has " + std::to_string(rings) + " hotspots in view " +
                                  quoted(view) + "; at most 20 are possible");
        }
    }

    void checkPictureFolders(const XmlElement& region) {
        std::string folder;
        for (const XmlElement* view : viewsOf(region)) {
            std::filesystem::path src = view->attribute("src");
            if (src.empty())
                continue;
            std::string own = src.parent_path().string();
            if (folder.empty())
                folder = own;
            if (own != folder) {
                warning(*view, "the views of " + regionName(region) +
                                   " keep their pictures in different folders (" + quoted(folder) + ", " +
                                   quoted(own) + "): the views chooser finds no thumbnails");
                return;
            }
            if (!own.empty() && src.filename().string().find(own) != std::string::npos)
                warning(*view, "the picture's file name repeats its folder's name: the views chooser finds "
                               "no thumbnail");
        }
    }

    void checkLateralAliases(const XmlElement& region) {
        if (!findView(region, "Posterior"))
            return;
        for (const XmlElement* view : viewsOf(region)) {
            if (isAlias(*view) && inLateralGroup(view->attribute("header")))
                warning(*view,
                        "the alias " + quoted(view->attribute("header")) + " in " + regionName(region) +
                            ", which offers \"Posterior\": turning between \"Anterior\" and \"Posterior\" "
                            "passes through it and never arrives");
        }
    }

    void checkViewsKnownToParent(const XmlElement& region, const XmlElement& parent) {
        std::set<std::string> reported;
        for (const XmlElement* view : viewsOf(region)) {
            const XmlElement* shown = shownView(region, *view);
            if (!shown)
                continue;
            const std::string& name = shown->attribute("header");
            if (name.empty() || isDerived(name) || findView(parent, name) || !reported.insert(name).second)
                continue;
            warning(*view, regionName(region) + " can be shown in " + quoted(name) + ", which its parent " +
                               regionName(parent) + " lacks: going back turns to \"Anterior\" first");
        }
    }

    // A sub-region is entered by its ring or title button, both standing in a view of its own whose
    // header the parent's current view has, or from the index.
    void checkReachable(const XmlElement& region, const XmlElement& parent) {
        bool pressable = std::ranges::any_of(viewsOf(region), [&](const XmlElement* view) {
            return findView(parent, view->attribute("header")) &&
                   std::ranges::any_of(view->children, [](const auto& c) { return c->name == "hitarea"; });
        });
        if (pressable)
            return;
        const std::string& header = region.attribute("header");
        auto node = terms_.nodes.find(header);
        bool indexed = !header.empty() && header.find("Label") == std::string::npos &&
                       node != terms_.nodes.end() && node->second == &region;
        std::string where = " has no ring or title button in any view of its parent " + regionName(parent) +
                            " (no hit area in a view the parent has)";
        if (indexed)
            warning(region, regionName(region) + where + ": only the index reaches it");
        else
            error(region, regionName(region) + where + " and no index entry: nothing reaches it");
    }

    // The index lists each English title once: of two indexed entries with one title, or an entry
    // titled as a region, only the first is listed.
    void checkTitlesAreDistinct() {
        if (!shape_.entryList)
            return;
        std::map<std::string, std::string> listed; // title -> what lists it
        for (const std::string& term : terms_.terms)
            if (term.find("Label") == std::string::npos)
                listed.try_emplace(term, "a region");
        for (const auto& entry : shape_.entryList->children) {
            const std::string& id = entry->attribute("id");
            auto node = terms_.nodes.find(id);
            if (node == terms_.nodes.end() || shape_.entries.at(id) != entry.get())
                continue;
            const std::string& title = entry->attribute("title");
            auto [known, fresh] =
                listed.try_emplace(title, "the entry on line " + std::to_string(entry->line));
            if (!fresh)
                warning(*entry, "the title " + quoted(title) + " is listed already (" + known->second +
                                    "): the index lists a title once, so this entry drops out of both index "
                                    "lists; give it its own title");
        }
    }

    void checkTopRegionRings(const XmlElement& region) {
        for (const XmlElement* view : viewsOf(region)) {
            const std::string& header = view->attribute("header");
            bool rings = std::ranges::any_of(subRegionsOf(region), [&](const XmlElement* sub) {
                const XmlElement* subView = findView(*sub, header);
                return subView && std::ranges::any_of(subView->children,
                                                      [](const auto& c) { return c->name == "hitarea"; });
            });
            bool marked = std::ranges::any_of(view->children, [](const auto& c) {
                return c->name == "hitarea" && c->attribute("exist") == "true";
            });
            if (rings && !marked)
                warning(*view,
                        "the top region's view " + quoted(header) +
                            " has rings but no <hitarea exist=\"true\"/>: after a region without rings "
                            "they stay still here");
        }
    }

    void checkQuizAreas() {
        for (const QuizArea& area : quizAreasOf(*shape_.topRegion, terms_)) {
            if (area.questions.size() < questionsPerQuiz)
                warning(*terms_.nodes.at(area.title),
                        "the quiz area " + quoted(area.title) + " offers " +
                            std::to_string(area.questions.size()) +
                            (area.questions.size() == 1 ? " question" : " questions") +
                            "; a quiz on it alone needs 12, and it asks only about the flags of the regions "
                            "inside the area (two levels below the top), never the area's own");
        }
    }

    const XmlElement& top_;
    std::filesystem::path bundle_;
    DataFileShape shape_;
    TermIndex terms_ = termIndexOf(top_);
    std::vector<Finding> findings_;
};

} // namespace

std::vector<Finding> checkDataFile(const std::string& xml, const std::filesystem::path& bundle) {
    XmlDocument document = parseXml(xml);
    std::vector<Finding> findings;
    if (!document.error.empty())
        findings.push_back(
            {Severity::Error, document.errorLine, "the data file is not well-formed XML: " + document.error});
    if (!document.root) {
        findings.push_back({Severity::Error, 1, "the data file holds no element"});
        return findings;
    }
    std::vector<Finding> found = Checker(*document.root, bundle).run();
    findings.insert(findings.end(), found.begin(), found.end());
    return findings;
}

std::vector<Finding> checkBundle(const std::filesystem::path& bundle) {
    std::ifstream in(bundle / "torvex.xml", std::ios::binary);
    if (!in)
        return {{Severity::Error, 0, "the bundle has no readable torvex.xml"}};
    std::ostringstream text;
    text << in.rdbuf();
    return checkDataFile(text.str(), bundle);
}

} // namespace check
