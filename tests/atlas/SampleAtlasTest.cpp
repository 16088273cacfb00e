// The sample atlas as the build puts it into the bundle, read by the program's own loader: flags and hit
// areas stay where the program can show them, and the index and the quiz get what they need (what
// torvex-check finds is bundle.passes_torvex_check's).

#include "BundleCheck.h"
#include "BundleReport.h"
#include "DataFileShape.h"
#include "TorvexContent.h"

#include <gtest/gtest.h>

#include "tests/support/TemporaryFolder.h"

#include <functional>

namespace {

const std::filesystem::path bundle = TORVEX_BUILD_BUNDLE_DIR;

void forEachRegion(const TreeNode* region, const std::function<void(const TreeNode*)>& visit) {
    visit(region);
    for (const auto& sub : region->lastChild()->children)
        forEachRegion(sub.get(), visit);
}

class SampleAtlas : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(content.parseXMLFileAtFile("torvex.xml"), TorvexContent::LoadStatus::Loaded);
        ASSERT_TRUE(content.carve());
    }

    TorvexContent content{bundle};
    check::XmlDocument document = check::parseXml(readFile(bundle / "torvex.xml"));
};

TEST_F(SampleAtlas, FlagsAndHitAreasStayWhereTheProgramShowsThem) {
    auto number = [](const TreeNode& node, const char* name) {
        return std::stod(std::string(node.attribute(name)));
    };
    forEachRegion(content.root, [&](const TreeNode* region) {
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
