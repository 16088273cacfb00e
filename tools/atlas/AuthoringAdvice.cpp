#include "AuthoringAdvice.h"

#include "Bubbles.h"
#include "Classes/IndexViewController.h"
#include "Markers.h"
#include "Platform/Font.h"
#include "Platform/TableView.h"

#include <algorithm>
#include <cmath>
#include <set>

namespace atlas {

namespace {

constexpr double screenWidth = 320;
// The flag's bubble is as wide as its longer name plus its rounded ends, 40 hundredths of the bubble
// picture, and no wider than the screen; with an information text its info button, centred 7 points
// inside the bubble's right end, must stay on the screen too.
constexpr double bubbleEnds = 40 * art::labelBubbleWidth / 100;
constexpr double infoButtonOverhang = art::infoButtonSize / 2 - 7 > 0 ? art::infoButtonSize / 2 - 7 : 0;
// The header line is centred on the screen's top bar from x 15 to 325; below the top the back button
// (x 14 to 82, its caption the parent's header) sits on its left end.
constexpr double headerLeft = 15, headerWidth = 310, backButtonRight = 82, backButtonWidth = 68;
// An index row's text starts 10 points into the row and stops 30 points before its end, where the
// disclosure mark is; the letter index takes the list's right edge.
constexpr double rowInsets = 10 + 30;
constexpr std::size_t questionsPerQuiz = 12;

std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

std::string points(double value) {
    return std::to_string(int(std::ceil(value)));
}

const ViewSource* findView(const RegionSource& region, const std::string& header) {
    auto found = std::ranges::find(region.views, header, &ViewSource::header);
    return found == region.views.end() ? nullptr : &*found;
}

bool anyView(const RegionSource& region, bool (*matches)(const std::string&)) {
    return std::ranges::any_of(region.views, [&](const ViewSource& view) { return matches(view.header); });
}

bool lateral(const std::string& name) {
    return name.find("Lateral") != std::string::npos || name == "Left Side";
}

bool medial(const std::string& name) {
    return name.find("Medial") != std::string::npos || name == "Right Side" || name == "Right Lat.";
}

class Adviser {
public:
    explicit Adviser(const AtlasSource& atlas) : atlas_(atlas) {}

    std::vector<AuthoringWarning> run() {
        adviseOnRegion(atlas_.top, nullptr);
        adviseOnQuiz();
        for (const Structure& structure : atlas_.structures)
            adviseOnNames(structure);
        std::ranges::stable_sort(advice_, {}, &AuthoringWarning::line);
        return std::move(advice_);
    }

private:
    void warn(int line, std::string message) { advice_.push_back({line, std::move(message)}); }

    void adviseOnRegion(const RegionSource& region, const RegionSource* parent) {
        if (findView(region, "Posterior") && !anyView(region, lateral) && !anyView(region, medial))
            warn(region.line,
                 "region " + quoted(region.header) +
                     " has \"Posterior\" but no lateral or medial view: a swipe turns the figure "
                     "through a lateral or medial view, so \"Posterior\" cannot be reached by "
                     "swiping, only from the views chooser; add a view such as \"Lateral\"");
        adviseOnHeader(region, parent);
        for (const RegionSource& sub : region.regions)
            adviseOnRegion(sub, &region);
    }

    void adviseOnHeader(const RegionSource& region, const RegionSource* parent) {
        const TextPlace& place = parent ? headerTitle : topHeaderTitle;
        for (const ViewSource& view : region.views)
            fits(region.line, place, view.header + ": " + region.header,
                 "shorten the region's or the view's name");
        if (!region.regions.empty())
            fits(region.line, backCaption, region.header, "shorten the region's name");
        fits(region.line, indexRow, region.header, "shorten the region's name");
    }

    void adviseOnNames(const Structure& structure) {
        bool infoButton = !structure.about.empty();
        fits(structure.line, infoButton ? bubbleTitleWithInfo : bubbleTitle, structure.title,
             "shorten the title");
        fits(structure.line, indexRow, structure.title, "shorten the title");
        if (structure.latin.size() > 1) {
            fits(structure.line, infoButton ? bubbleLatinWithInfo : bubbleLatin, "(" + structure.latin + ")",
                 "shorten the Latin name");
            fits(structure.line, indexRow, structure.latin, "shorten the Latin name");
        }
    }

    void fits(int line, const TextPlace& place, const std::string& text, const std::string& remedy) {
        double width = widthIn(place, text);
        if (width > place.room)
            warn(line, quoted(text) + " is " + points(width) + " points wide in " + place.name +
                           ", which has room for " + points(place.room) + ": it is cut off; " + remedy);
    }

    // The quiz asks about the flags below each quiz area: a sub-region of the top region pressable in
    // its "Anterior" view. Its questions come from the regions inside the area, never its own views.
    void adviseOnQuiz() {
        for (const RegionSource& area : atlas_.top.regions) {
            bool pressable =
                findView(area, "Anterior") &&
                (area.rings.empty() || std::ranges::find(area.rings, "Anterior") != area.rings.end());
            if (!pressable)
                continue;
            std::set<std::string> questions;
            for (const RegionSource& inside : area.regions)
                collectFlags(inside, questions);
            if (questions.size() >= questionsPerQuiz)
                continue;
            std::string reason = area.regions.empty()
                                     ? "it has no regions inside it"
                                     : "the regions inside it flag only " + std::to_string(questions.size()) +
                                           (questions.size() == 1 ? " structure" : " structures");
            warn(area.line, "the quiz area " + quoted(area.header) + " offers " +
                                std::to_string(questions.size()) +
                                " questions, and a quiz needs 12: the quiz asks only about flags of the "
                                "regions inside a quiz area (two levels below the top), and " +
                                reason + "; put regions with flagged structures inside it");
        }
    }

    static void collectFlags(const RegionSource& region, std::set<std::string>& flags) {
        for (const ViewSource& view : region.views) {
            if (view.header == "Anterior Xray")
                continue;
            for (const ShapeUse& shape : view.shapes)
                if (shape.flagged && view.alias.empty())
                    flags.insert(shape.structure);
        }
        for (const RegionSource& sub : region.regions)
            collectFlags(sub, flags);
    }

    const AtlasSource& atlas_;
    std::vector<AuthoringWarning> advice_;
};

} // namespace

const TextPlace bubbleTitle{"the flag's bubble", 14, TextPlace::Face::Regular, screenWidth - bubbleEnds};
const TextPlace bubbleLatin{"the flag's bubble", 13, TextPlace::Face::Italic, screenWidth - bubbleEnds};
const TextPlace bubbleTitleWithInfo{"the flag's bubble", 14, TextPlace::Face::Regular,
                                    screenWidth - infoButtonOverhang - bubbleEnds};
const TextPlace bubbleLatinWithInfo{"the flag's bubble", 13, TextPlace::Face::Italic,
                                    screenWidth - infoButtonOverhang - bubbleEnds};
const TextPlace headerTitle{"the header beside the back button", 12, TextPlace::Face::Regular,
                            2 * (headerLeft + headerWidth / 2 - backButtonRight)};
const TextPlace topHeaderTitle{"the header", 12, TextPlace::Face::Regular, headerWidth};
const TextPlace backCaption{"the back button of the regions inside it", 12, TextPlace::Face::Regular,
                            backButtonWidth};
const TextPlace indexRow{"an index row", 16, TextPlace::Face::Regular,
                         IndexViewController::viewSize.width - ui::TableView::indexWidth - rowInsets};

double widthIn(const TextPlace& place, const std::string& text) {
    ui::Font font = place.face == TextPlace::Face::Italic ? ui::Font::italicSystem(place.size)
                                                          : ui::Font::system(place.size);
    return ui::textWidth(text, font);
}

std::vector<AuthoringWarning> adviceOn(const AtlasSource& atlas) {
    return Adviser(atlas).run();
}

} // namespace atlas
