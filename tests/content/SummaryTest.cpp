#include "TorvexContent.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>

namespace {

const std::string kBundle = TORVEX_SOURCE_DIR "/tests/data/bundle";

std::vector<std::string> headersOf(const TreeNode* group) {
    std::vector<std::string> headers;
    for (const auto& child : group->children)
        headers.emplace_back(child->getHeader());
    return headers;
}

void forEachNode(const TreeNode& node, const std::function<void(const TreeNode&)>& visit) {
    visit(node);
    for (const auto& child : node.children)
        forEachNode(*child, visit);
}

struct ProgramRun {
    int status;
    std::string output;
};

ProgramRun runTorvex(const std::string& arguments) {
    ProgramRun run{-1, {}};
    FILE* pipe = popen((std::string(TORVEX_BINARY) + " " + arguments + " 2>&1").c_str(), "r");
    char buffer[4096];
    while (std::size_t length = std::fread(buffer, 1, sizeof buffer, pipe))
        run.output.append(buffer, length);
    run.status = pclose(pipe);
    return run;
}

class TestBundle : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(content.parseXMLFileAtFile("torvex.xml"), TorvexContent::LoadStatus::Loaded);
        ASSERT_TRUE(content.carve());
    }
    TorvexContent content{kBundle};
};

} // namespace

TEST_F(TestBundle, carvesTheUpperLimbWithItsViewsAndThreeLevelsOfRegions) {
    TreeNode* top = content.root;
    EXPECT_EQ(top->getHeader(), "Upper Limb");
    EXPECT_EQ(headersOf(top->firstChild()),
              (std::vector<std::string>{"Anterior", "Posterior", "Lateral", "Medial", "Left Side",
                                        "Anterior Skin", "Anterior Xray"}));
    EXPECT_EQ(top->firstChild()->findChild("view", "Left Side", "header")->attribute("realheader"),
              "Lateral");
    EXPECT_EQ(headersOf(top->lastChild()), (std::vector<std::string>{"Arm", "Forearm", "Hand"}));
    TreeNode* arm = top->lastChild()->firstChild();
    EXPECT_EQ(headersOf(arm->lastChild()), std::vector<std::string>{"Elbow"});
    EXPECT_TRUE(arm->lastChild()->firstChild()->lastChild()->children.empty());

    TreeNode* anterior = arm->firstChild()->findChild("view", "Anterior", "header");
    std::vector<std::string> elements;
    for (const auto& element : anterior->children)
        elements.emplace_back(element->key.view());
    EXPECT_EQ(elements, (std::vector<std::string>{"points", "hitarea", "info", "zoomout"}));
    EXPECT_EQ(anterior->findChild("zoomout")->attribute("scale"), "40");
}

TEST_F(TestBundle, indexesRegionsAndPointsButNotXrayOnlyStructures) {
    for (const char* term :
         {"Draft Region", "Upper Limb", "Arm", "Elbow", "Forearm", "Wrist", "Hand", "Label 10", "Label 20"})
        EXPECT_TRUE(content.indexDictionary.contains(term)) << term;
    EXPECT_FALSE(content.indexDictionary.contains("Label 11"));
    EXPECT_FALSE(content.indexDictionary.contains("Label 12"));
    EXPECT_EQ(content.indexDictionary.size(), 23u);
    TreeNode* deltoid = content.indexDictionary.find("Label 1");
    EXPECT_EQ(deltoid->parent->parent->getHeader(), "Anterior");
    EXPECT_EQ(deltoid->parent->parent->parent->parent, content.root);
}

TEST_F(TestBundle, informationEntriesCarryTheirMarkersWithEntitiesResolved) {
    TreeNode* entries = content.allInfo->lastChild();
    EXPECT_EQ(content.allInfo->children.size(), 1u);
    TreeNode* deltoid = entries->findChild("entry", "Label 1", "id");
    ASSERT_NE(deltoid, nullptr);
    EXPECT_EQ(deltoid->getTitle(), "Deltoid");
    EXPECT_EQ(deltoid->leafvalue, "<p><b>Deltoid.</b> Lifts the arm away from the body.</p>***"
                                  "<p>Nerve & artery: axillary.</p>");
    for (const auto& entry : entries->children)
        EXPECT_FALSE(entry->leafvalue.empty()) << entry->attribute("id");
}

TEST_F(TestBundle, keepsEveryPlacementInsideTheDesignSpace) {
    forEachNode(*content.document(), [](const TreeNode& node) {
        auto number = [&](const char* name) {
            return std::strtof(std::string(node.attribute(name)).c_str(), nullptr);
        };
        if (node.key == "point" || node.key == "zoomout") {
            EXPECT_LE(number("x"), 480) << node.key;
            EXPECT_LE(number("y"), 630) << node.key;
        }
        if (node.key == "hitarea" && node.dattributes.contains("width")) {
            EXPECT_LE(number("x") + number("width"), 480);
            EXPECT_LE(number("y") + number("height"), 630);
        }
    });
}

TEST(Summary, printsTheRegionTreeOfABundleAndFailsClearlyWithoutOne) {
    ProgramRun good = runTorvex("--summary --bundle " + kBundle);
    EXPECT_EQ(good.status, 0) << good.output;
    EXPECT_NE(good.output.find("Upper Limb  [Anterior, Posterior"), std::string::npos) << good.output;
    EXPECT_NE(good.output.find("\n    Elbow  [Anterior, Posterior]\n"), std::string::npos) << good.output;
    EXPECT_NE(good.output.find("23 index terms"), std::string::npos) << good.output;

    ProgramRun missing = runTorvex("--summary --bundle /nonexistent-bundle");
    EXPECT_NE(missing.status, 0);
    EXPECT_NE(missing.output.find("/nonexistent-bundle/torvex.xml"), std::string::npos) << missing.output;
}
