#include "AtlasReader.h"

#include "ViewFrame.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

namespace atlas {

namespace {

constexpr double pictureWidthInPoints = pictureWidth / 2.0;

class Reader {
public:
    explicit Reader(std::filesystem::path file) : file_(std::move(file)) { source_.file = file_; }

    AtlasSource read(const std::vector<Statement>& statements) {
        bool haveTop = false;
        for (const Statement& statement : statements) {
            if (statement.keyword == "atlas") {
                readAtlasSettings(statement);
            } else if (statement.keyword == "style") {
                source_.styles.push_back(readStyle(statement));
            } else if (statement.keyword == "structure") {
                source_.structures.push_back(readStructure(statement));
            } else if (statement.keyword == "region") {
                if (haveTop)
                    fail(statement, "an atlas has one top region; put further regions inside it");
                source_.top = readRegion(statement);
                haveTop = true;
            } else {
                unknown(statement);
            }
        }
        if (!haveTop)
            throw AuthoringError(file_.string(), 0, "the atlas has no region");
        checkReferences();
        return std::move(source_);
    }

private:
    [[noreturn]] void fail(const Statement& statement, const std::string& message) const {
        throw AuthoringError(file_.string(), statement.line, message);
    }
    [[noreturn]] void unknown(const Statement& statement) const {
        fail(statement, "unknown statement \"" + statement.keyword + "\"");
    }
    void needRest(const Statement& statement) const {
        if (statement.rest.empty())
            fail(statement, "\"" + statement.keyword + "\" needs a value");
    }
    void appendText(std::string& text, const Statement& statement) const {
        needRest(statement);
        if (!text.empty())
            text += ' ';
        text += statement.rest;
    }

    double number(const Statement& statement, const std::string& word) const {
        double value = 0;
        auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
        if (error != std::errc() || end != word.data() + word.size() || !std::isfinite(value))
            fail(statement, "\"" + word + "\" is not a number");
        return value;
    }

    Colour colour(const Statement& statement, const std::vector<std::string>& words, std::size_t at) const {
        if (at >= words.size())
            fail(statement, "a colour is missing");
        std::string opacity = at + 1 < words.size() ? words[at + 1] : "";
        auto parsed = Colour::parse(words[at], opacity);
        if (!parsed)
            fail(statement, "a colour is written #rrggbb, optionally followed by an opacity from 0 to 1");
        return *parsed;
    }

    std::optional<Colour> colourOrNone(const Statement& statement) const {
        auto words = statement.words();
        if (words.size() == 1 && words[0] == "none")
            return std::nullopt;
        return colour(statement, words, 0);
    }

    void readAtlasSettings(const Statement& statement) {
        source_.title = statement.rest;
        for (const Statement& setting : statement.children) {
            if (setting.keyword == "credit") {
                appendText(source_.credit, setting);
            } else if (setting.keyword == "pictures") {
                needRest(setting);
                // The generator empties this folder before drawing into it.
                if (!insideTheBundle(setting.rest))
                    fail(setting, "the pictures' folder is a folder inside the bundle, such as \"atlas\"");
                source_.pictureFolder = setting.rest;
            } else if (setting.keyword == "artwork") {
                source_.artworks.push_back(readArtwork(setting));
            } else {
                unknown(setting);
            }
        }
    }

    ArtworkSource readArtwork(const Statement& statement) const {
        auto words = statement.words();
        if (words.size() != 2)
            fail(statement, "write \"artwork NAME FILE\"");
        ArtworkSource artwork{words[0], file_.parent_path() / words[1], "", statement.line};
        for (const Statement& setting : statement.children) {
            if (setting.keyword != "silhouette")
                unknown(setting);
            needRest(setting);
            artwork.silhouette = setting.rest;
            artwork.silhouetteLine = setting.line;
        }
        if (artwork.silhouette.empty())
            fail(statement, "an artwork needs \"silhouette ELEMENT\": the element that outlines the body");
        return artwork;
    }

    Style readStyle(const Statement& statement) const {
        needRest(statement);
        Style style;
        style.name = statement.rest;
        for (const Statement& setting : statement.children) {
            if (setting.keyword == "body") {
                style.body = colourOrNone(setting);
            } else if (setting.keyword == "lines") {
                style.lines = colour(setting, setting.words(), 0);
            } else if (setting.keyword == "outline") {
                style.outline = outline(setting);
            } else if (setting.keyword == "fill") {
                style.fill = colour(setting, setting.words(), 0);
            } else if (setting.keyword == "edge") {
                style.edge = number(setting, setting.rest);
            } else {
                unknown(setting);
            }
        }
        return style;
    }

    Outline outline(const Statement& statement) const {
        if (statement.rest == "lines")
            return Outline::Lines;
        if (statement.rest == "contour")
            return Outline::Contour;
        if (statement.rest == "none")
            return Outline::None;
        fail(statement, "outline is \"lines\", \"contour\" or \"none\"");
    }

    Structure readStructure(const Statement& statement) const {
        Structure structure;
        auto space = statement.rest.find(' ');
        if (space == std::string::npos)
            fail(statement, "write \"structure KEY Title\"");
        structure.key = statement.rest.substr(0, space);
        structure.title = statement.rest.substr(space + 1);
        structure.line = statement.line;
        for (const Statement& setting : statement.children) {
            if (setting.keyword == "latin") {
                needRest(setting);
                structure.latin = setting.rest;
            } else if (setting.keyword == "colour") {
                structure.colour = colour(setting, setting.words(), 0);
            } else if (setting.keyword == "about") {
                appendText(structure.about, setting);
            } else {
                unknown(setting);
            }
        }
        return structure;
    }

    RegionSource readRegion(const Statement& statement) const {
        needRest(statement);
        RegionSource region;
        region.header = statement.rest;
        region.line = statement.line;
        for (const Statement& setting : statement.children) {
            if (setting.keyword == "latin") {
                needRest(setting);
                region.latin = setting.rest;
            } else if (setting.keyword == "about") {
                appendText(region.about, setting);
            } else if (setting.keyword == "folder") {
                needRest(setting);
                if (!insideTheBundle(setting.rest))
                    fail(setting, "a region's folder is a name inside the pictures' folder");
                region.folder = setting.rest;
            } else if (setting.keyword == "hit") {
                needRest(setting);
                auto words = setting.words();
                region.hit.insert(region.hit.end(), words.begin(), words.end());
                region.hitLine = setting.line;
            } else if (setting.keyword == "rings") {
                needRest(setting);
                region.rings = commaSeparated(setting.rest);
                region.ringsLine = setting.line;
            } else if (setting.keyword == "view") {
                region.views.push_back(readView(setting, region));
            } else if (setting.keyword == "region") {
                region.regions.push_back(readRegion(setting));
            } else {
                unknown(setting);
            }
        }
        if (region.folder.empty())
            region.folder = folderName(region.header);
        return region;
    }

    // A folder below the bundle: neither outside it nor the bundle itself ("./").
    static bool insideTheBundle(const std::string& name) {
        std::filesystem::path folder = name;
        return !folder.is_absolute() && folder.lexically_normal() != "." &&
               std::ranges::find(folder, "..") == folder.end();
    }

    static std::vector<std::string> commaSeparated(const std::string& text) {
        std::vector<std::string> items;
        std::istringstream in(text);
        for (std::string item; std::getline(in, item, ',');)
            if (auto name = trimmed(item); !name.empty())
                items.push_back(name);
        return items;
    }

    static std::string folderName(const std::string& header) {
        std::string folder;
        std::ranges::copy_if(header, std::back_inserter(folder), [](char c) { return c != ' ' && c != '.'; });
        return folder;
    }

    ViewSource readView(const Statement& statement, const RegionSource& region) const {
        needRest(statement);
        ViewSource view;
        view.line = statement.line;
        auto arrow = statement.rest.find("->");
        view.header = trimmed(statement.rest.substr(0, arrow));
        if (view.header.find('/') != std::string::npos)
            fail(statement, "a view's name becomes a file name and must not hold \"/\"");
        if (arrow != std::string::npos) {
            view.alias = trimmed(statement.rest.substr(arrow + 2));
            if (view.alias.size() <= 2)
                fail(statement, "an alias names a view of more than two characters");
            if (!statement.children.empty())
                fail(statement.children.front(), "an alias view takes no settings; it shows its target");
            return view;
        }
        std::optional<bool> modelMirrored;
        for (const Statement& setting : statement.children) {
            if (setting.keyword == "like") {
                view = likeView(setting, region, view);
                modelMirrored = view.mirror;
            }
        }
        for (const Statement& setting : statement.children)
            readViewSetting(setting, view);
        if (view.artwork.empty())
            fail(statement, "the view needs \"artwork NAME\"");
        bool shapesRestated =
            std::ranges::any_of(statement.children, [](const Statement& s) { return s.keyword == "shapes"; });
        if (modelMirrored && *modelMirrored != view.mirror && !shapesRestated)
            mirrorHandPlacedFlags(view);
        return view;
    }

    // Flags placed by hand on the model's picture move with the drawing when the copy turns it over.
    static void mirrorHandPlacedFlags(ViewSource& view) {
        for (ShapeUse& shape : view.shapes)
            if (shape.labelAt)
                shape.labelAt->first = pictureWidthInPoints - shape.labelAt->first;
    }

    ViewSource likeView(const Statement& statement, const RegionSource& region,
                        const ViewSource& view) const {
        needRest(statement);
        auto model = std::ranges::find(region.views, statement.rest, &ViewSource::header);
        if (model == region.views.end())
            fail(statement, "\"like " + statement.rest + "\": this region has no earlier view \"" +
                                statement.rest + "\"; name a view written above this one");
        if (!model->alias.empty())
            fail(statement, "\"like " + statement.rest + "\": \"" + statement.rest +
                                "\" is an alias with no picture of its own; name the view it shows, \"" +
                                model->alias + "\"");
        ViewSource copy = *model;
        copy.header = view.header;
        copy.line = view.line;
        copy.about.clear();
        copy.base.clear();
        return copy;
    }

    void readViewSetting(const Statement& setting, ViewSource& view) const {
        const std::string& keyword = setting.keyword;
        if (keyword == "like") {
            return;
        } else if (keyword == "base") {
            needRest(setting);
            view.base = setting.rest;
        } else if (keyword == "artwork") {
            needRest(setting);
            view.artwork = setting.rest;
        } else if (keyword == "window") {
            view.window = box(setting);
        } else if (keyword == "clip") {
            view.clip = box(setting);
        } else if (keyword == "around") {
            needRest(setting);
            view.window.reset();
            view.around = setting.words();
        } else if (keyword == "margin") {
            view.margin = number(setting, setting.rest) / 100;
        } else if (keyword == "mirror") {
            view.mirror = true;
        } else if (keyword == "explode") {
            view.explode = number(setting, setting.rest);
        } else if (keyword == "style") {
            needRest(setting);
            view.style = setting.rest;
        } else if (keyword == "about") {
            appendText(view.about, setting);
        } else if (keyword == "shapes") {
            view.shapes.clear();
            for (const Statement& shape : setting.children) {
                view.shapes.push_back(readShape(shape));
                refuseRepeatedShape(view.shapes);
            }
        } else {
            unknown(setting);
        }
    }

    Box box(const Statement& statement) const {
        auto words = statement.words();
        if (words.size() != 4)
            fail(statement, "write \"" + statement.keyword + " X Y WIDTH HEIGHT\"");
        Box box{number(statement, words[0]), number(statement, words[1]), number(statement, words[2]),
                number(statement, words[3])};
        if (box.empty())
            fail(statement, "the box needs a positive width and height");
        return box;
    }

    ShapeUse readShape(const Statement& statement) const {
        ShapeUse shape;
        shape.id = shape.structure = statement.keyword;
        shape.line = statement.line;
        auto words = statement.words();
        for (std::size_t i = 0; i < words.size(); ++i) {
            if (words[i].starts_with('#')) {
                bool withOpacity = i + 1 < words.size() && startsWithDigit(words[i + 1]);
                std::size_t end = i + (withOpacity ? 2 : 1);
                shape.colour =
                    colour(statement, std::vector<std::string>(words.begin() + i, words.begin() + end), 0);
                i = end - 1;
            } else if (words[i] == "plain") {
                shape.flagged = false;
            } else if (words[i] == "still") {
                shape.still = true;
            } else if (words[i] == "behind") {
                shape.behind = true;
            } else if (words[i] == "as" && i + 1 < words.size()) {
                shape.structure = words[++i];
            } else if (words[i] == "at" && i + 2 < words.size()) {
                shape.labelAt = std::pair{number(statement, words[i + 1]), number(statement, words[i + 2])};
                i += 2;
            } else {
                fail(statement, "a shape line reads \"ID [#colour [opacity]] [plain] [still] [behind] [as "
                                "KEY] [at X Y]\"");
            }
        }
        return shape;
    }

    // The same shape twice would stack two flags on one structure.
    void refuseRepeatedShape(const std::vector<ShapeUse>& shapes) const {
        const ShapeUse& added = shapes.back();
        for (std::size_t i = 0; i + 1 < shapes.size(); ++i)
            if (shapes[i].id == added.id)
                throw AuthoringError(file_.string(), added.line,
                                     added.id + " is listed twice in this view (first on line " +
                                         std::to_string(shapes[i].line) +
                                         "); list each shape once, or it gets two flags");
    }

    static bool startsWithDigit(const std::string& word) {
        return !word.empty() && std::isdigit(static_cast<unsigned char>(word[0]));
    }

    static std::string trimmed(const std::string& text) {
        auto first = text.find_first_not_of(' ');
        if (first == std::string::npos)
            return {};
        return text.substr(first, text.find_last_not_of(' ') - first + 1);
    }

    void checkReferences() const {
        std::set<std::string> keys;
        for (const Structure& structure : source_.structures) {
            if (!keys.insert(structure.key).second)
                throw AuthoringError(file_.string(), structure.line,
                                     "structure " + structure.key + " is defined twice");
        }
        std::set<std::string> headers;
        checkRegion(source_.top, headers);
        checkTitlesAreDistinct();
    }

    // The index lists each title once: a structure whose title another structure or a region already
    // has drops out of both index lists.
    void checkTitlesAreDistinct() const {
        std::map<std::string, std::string> owners; // title -> who has it, "region" or "line N"
        collectRegionTitles(source_.top, owners);
        for (const Structure& structure : source_.structures) {
            auto [known, fresh] =
                owners.try_emplace(structure.title, "line " + std::to_string(structure.line));
            if (!fresh)
                throw AuthoringError(file_.string(), structure.line,
                                     "the title \"" + structure.title + "\" is taken already (" +
                                         known->second +
                                         "): the index lists a title once, so one of them drops out of both "
                                         "index lists; give each structure its own title");
        }
    }

    static void collectRegionTitles(const RegionSource& region, std::map<std::string, std::string>& owners) {
        owners.try_emplace(region.header, "the region on line " + std::to_string(region.line));
        for (const RegionSource& sub : region.regions)
            collectRegionTitles(sub, owners);
    }

    void checkRegion(const RegionSource& region, std::set<std::string>& headers) const {
        auto error = [&](int line, const std::string& message) {
            throw AuthoringError(file_.string(), line, message);
        };
        if (!headers.insert(region.header).second)
            error(region.line, "a region named \"" + region.header + "\" exists already");
        if (std::ranges::find(region.views, std::string("Anterior"), &ViewSource::header) ==
            region.views.end())
            error(region.line, "every region needs a view named \"Anterior\"");
        std::set<std::string> names;
        for (const ViewSource& view : region.views) {
            if (!names.insert(view.header).second)
                error(view.line, "the region has a view \"" + view.header + "\" already");
            if (!view.alias.empty()) {
                if (std::ranges::find(region.views, view.alias, &ViewSource::header) == region.views.end())
                    error(view.line, "the region has no view \"" + view.alias + "\" to show instead");
                continue;
            }
            if (!source_.findArtwork(view.artwork))
                error(view.line, "no artwork is named \"" + view.artwork + "\"");
            if (!view.style.empty() && !source_.findStyle(view.style))
                error(view.line, "no style is named \"" + view.style + "\"");
            for (const ShapeUse& shape : view.shapes) {
                if (shape.flagged && !source_.findStructure(shape.structure))
                    error(shape.line,
                          "no structure " + shape.structure + " is defined (or mark the shape \"plain\")");
            }
        }
        for (const RegionSource& sub : region.regions) {
            checkRings(sub, region);
            checkRegion(sub, headers);
        }
    }

    // A ring and title button stand only in a view both the parent and the sub-region have.
    void checkRings(const RegionSource& sub, const RegionSource& parent) const {
        for (const std::string& ring : sub.rings) {
            if (!findView(parent, ring))
                throw AuthoringError(file_.string(), sub.ringsLine,
                                     "rings names \"" + ring + "\", a view region \"" + parent.header +
                                         "\" does not have, so no ring or title button shows there; name "
                                         "views of the parent (" +
                                         viewNames(parent) + ")");
            if (!findView(sub, ring))
                throw AuthoringError(file_.string(), sub.ringsLine,
                                     "rings names \"" + ring + "\", but region \"" + sub.header +
                                         "\" has no view of that name: a ring shows only in views the region "
                                         "has too; add the view (or an alias) or leave it out of rings");
        }
    }

    static const ViewSource* findView(const RegionSource& region, const std::string& header) {
        auto found = std::ranges::find(region.views, header, &ViewSource::header);
        return found == region.views.end() ? nullptr : &*found;
    }

    static std::string viewNames(const RegionSource& region) {
        std::string names;
        for (const ViewSource& view : region.views)
            names += (names.empty() ? "" : ", ") + view.header;
        return names;
    }

    std::filesystem::path file_;
    AtlasSource source_;
};

} // namespace

AtlasSource readAtlasText(const std::string& text, const std::filesystem::path& file) {
    return Reader(file).read(parseIndentedText(text, file.string()));
}

AtlasSource readAtlas(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw AuthoringError(file.string(), 0, "cannot read the file");
    std::ostringstream text;
    text << in.rdbuf();
    return readAtlasText(text.str(), file);
}

} // namespace atlas
