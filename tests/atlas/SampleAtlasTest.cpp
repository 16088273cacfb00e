// The sample atlas as the build puts it into the bundle: the program's own loader reads the region tree
// the authoring file describes, every picture it names is there at 2x, flags and hit areas stay where
// the program can show them, and the index and the quiz get what they need.

#include "BundleCheck.h"
#include "BundleReport.h"
#include "DataFileShape.h"
#include "TorvexContent.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>

namespace {

const std::filesystem::path bundle = TORVEX_BUILD_BUNDLE_DIR;

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> headers(const TreeNode* group) {
    std::vector<std::string> names;
    for (const auto& child : group->children)
        names.emplace_back(child->getHeader());
    return names;
}

const TreeNode* subRegion(const TreeNode* region, std::string_view header) {
    return region ? region->lastChild()->findChild("part", header, "header") : nullptr;
}

const TreeNode* view(const TreeNode* region, std::string_view header) {
    return region->firstChild()->findChild("view", header, "header");
}

void forEachRegion(const TreeNode* region, int depth,
                   const std::function<void(const TreeNode*, int)>& visit) {
    visit(region, depth);
    for (const auto& sub : region->lastChild()->children)
        forEachRegion(sub.get(), depth + 1, visit);
}

class SampleAtlas : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(content.parseXMLFileAtFile("torvex.xml"), TorvexContent::LoadStatus::Loaded);
        ASSERT_TRUE(content.carve());
        top = content.root;
    }

    TorvexContent content{bundle};
    const TreeNode* top = nullptr;
};

TEST_F(SampleAtlas, LoadsIntoTheRegionTreeOfItsAuthoringFile) {
    EXPECT_EQ(top->getHeader(), "Human Body");
    EXPECT_EQ(headers(top->lastChild()),
              (std::vector<std::string>{"Head and Neck", "Thorax", "Abdomen", "Pelvis"}));
    EXPECT_EQ(headers(subRegion(top, "Head and Neck")->lastChild()),
              (std::vector<std::string>{"Head", "Neck"}));
    EXPECT_EQ(headers(subRegion(top, "Thorax")->lastChild()),
              (std::vector<std::string>{"Lungs and Airways", "Heart and Great Vessels"}));
    int deepest = 0;
    forEachRegion(top, 0, [&](const TreeNode*, int depth) { deepest = std::max(deepest, depth); });
    EXPECT_GE(deepest, 3);
}

TEST_F(SampleAtlas, ViewsWithoutAPictureAreAliasedAndDerivedViewsNameTheirBase) {
    EXPECT_EQ(view(top, "Ant. Female")->attribute("v"), "Anterior");
    const TreeNode* head = subRegion(subRegion(top, "Head and Neck"), "Head");
    EXPECT_EQ(view(head, "Superior")->attribute("realheader"), "Anterior");
    EXPECT_EQ(view(subRegion(head, "Brain and Meninges"), "Superior")->attribute("realheader"), "")
        << "the brain has a picture of its own for every view";
    const TreeNode* female = subRegion(subRegion(top, "Pelvis"), "Female Genital Organs");
    EXPECT_EQ(view(female, "Anterior")->attribute("realheader"), "Ant. Female");
}

TEST_F(SampleAtlas, EveryRegionHasAnAnteriorViewAndItsPicturesInOneFolder) {
    forEachRegion(top, 0, [&](const TreeNode* region, int) {
        EXPECT_NE(view(region, "Anterior"), nullptr) << region->getHeader();
        std::set<std::filesystem::path> folders;
        for (const auto& v : region->firstChild()->children)
            folders.insert(std::filesystem::path(v->attribute("src")).parent_path());
        EXPECT_EQ(folders.size(), 1u) << region->getHeader();
    });
}

// Width and height from a PNG file's header; {0, 0} when the file is missing or no PNG.
std::pair<int, int> pngSize(const std::filesystem::path& file) {
    std::string head = readFile(file).substr(0, 24);
    if (head.size() < 24 || head.compare(1, 3, "PNG") != 0)
        return {0, 0};
    auto number = [&](int at) {
        return (std::uint8_t(head[at]) << 24) | (std::uint8_t(head[at + 1]) << 16) |
               (std::uint8_t(head[at + 2]) << 8) | std::uint8_t(head[at + 3]);
    };
    return {int(number(16)), int(number(20))};
}

TEST_F(SampleAtlas, FlagsAndHitAreasStayWhereTheProgramShowsThem) {
    auto number = [](const TreeNode& node, const char* name) {
        return std::stod(std::string(node.attribute(name)));
    };
    forEachRegion(top, 0, [&](const TreeNode* region, int) {
        for (const auto& v : region->firstChild()->children) {
            for (const auto& point : v->firstChild()->children) {
                // A flag's centre stands 10 points below its point and is shown between 38 and 435.
                double flagCentre = number(*point, "y") / 1.5 - 30 + 10;
                EXPECT_GT(flagCentre, 38) << region->getHeader() << " / " << v->getHeader();
                EXPECT_LT(flagCentre, 435) << region->getHeader() << " / " << v->getHeader();
                EXPECT_NE(point->attribute("infoid").find("Label"), std::string_view::npos);
            }
            if (const TreeNode* hit = v->findChild("hitarea"); hit && hit->dattributes.contains("width")) {
                EXPECT_GE(number(*hit, "x"), 0);
                EXPECT_GE(number(*hit, "y"), 0);
                EXPECT_LE(number(*hit, "x") + number(*hit, "width"), 480.1);
                EXPECT_LE(number(*hit, "y") + number(*hit, "height"), 630.1);
            }
        }
    });
}

TEST_F(SampleAtlas, IndexListsEnglishTitlesWithTheirLatinNamesAndNoRawIds) {
    check::XmlDocument document = check::parseXml(readFile(bundle / "torvex.xml"));
    check::IndexLists lists = check::indexListsOf(*document.root);
    auto has = [](const std::vector<std::string>& list, const char* term) {
        return std::ranges::find(list, term) != list.end();
    };
    for (const char* term : {"Heart", "Cerebellum", "Thyroid gland", "Human Body", "Brain and Meninges"})
        EXPECT_TRUE(has(lists.english, term)) << term;
    for (const char* term : {"Cor", "Cerebellum", "Glandula thyroidea", "Encephalon", "Ovarium"})
        EXPECT_TRUE(has(lists.latin, term)) << term;
    for (const std::string& term : lists.english)
        EXPECT_EQ(term.find("UBERON"), std::string::npos) << term;
    EXPECT_GT(lists.latin.size(), 80u);
}

TEST_F(SampleAtlas, EveryQuizAreaOffersAFullQuiz) {
    check::XmlDocument document = check::parseXml(readFile(bundle / "torvex.xml"));
    check::DataFileShape shape = check::shapeOf(*document.root);
    std::vector<std::string> titles;
    for (const check::QuizArea& area :
         check::quizAreasOf(*shape.topRegion, check::termIndexOf(*document.root))) {
        titles.push_back(area.title);
        EXPECT_GE(area.questions.size(), 12u) << area.title;
    }
    EXPECT_EQ(titles, (std::vector<std::string>{"Head and Neck", "Thorax", "Abdomen", "Pelvis"}));
}

} // namespace
