#include "TorvexContent.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/support/TemporaryFolder.h"

namespace {

std::string view(std::string_view header, std::string_view points) {
    return std::string("<view header=\"") + std::string(header) + "\"><points>" + std::string(points) +
           "</points></view>";
}

std::string atlas(std::string_view regions, std::string_view entries = "") {
    return "<atlas><regions>" + std::string(regions) + "</regions><information><entries>" +
           std::string(entries) + "</entries></information></atlas>";
}

std::vector<std::string> termsOf(const TermDictionary& dictionary) {
    std::vector<std::string> terms;
    for (const auto& entry : dictionary.entries())
        terms.push_back(entry.term);
    return terms;
}

} // namespace

TEST(Parser, joinsTextAroundEntityReferences) {
    TorvexContent content;
    TreeNode* top =
        content.parseXMLData("<e t=\"a &amp; b\">&lt;p&gt;Nerve &amp; artery&lt;/p&gt;***&#233;</e>");
    EXPECT_EQ(top->leafvalue, "<p>Nerve & artery</p>***\xC3\xA9");
    EXPECT_EQ(top->attribute("t"), "a & b");
}

TEST(Parser, joinsATextThatStraddlesAReadBoundaryOfAFile) {
    std::string text(3 << 20, 'w');
    text[1 << 20] = '&';
    std::string document = "<e>" + std::string(text).replace(1 << 20, 1, "&amp;") + "</e>";
    TemporaryFolder folder;
    writeFile(folder / "long.xml", document);
    TorvexContent content;
    TreeNode* top = content.parseXMLFile(folder / "long.xml");
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(top->leafvalue, text);
}

TEST(Parser, entersPartsByHeaderAndPointsByInfoidFirstOneWinning) {
    TorvexContent content;
    content.parseXMLData(atlas("<part header=\"Arm\"><views>" + view("Anterior", "<point infoid=\"L1\"/>") +
                               view("Posterior", "<point infoid=\"L1\"/><point infoid=\"L2\"/>") +
                               "</views><parts/></part><part header=\"Arm\"/>"));
    TreeNode* arm = content.indexDictionary.find("Arm");
    ASSERT_NE(arm, nullptr);
    EXPECT_EQ(arm, content.root->lastChild()->firstChild()->firstChild());
    EXPECT_EQ(content.indexDictionary.find("L1")->parent->parent->getHeader(), "Anterior");
    EXPECT_EQ(termsOf(content.indexDictionary), (std::vector<std::string>{"Arm", "L1", "L2"}));
    EXPECT_EQ(content.indexDictionary.find("L3"), nullptr);
}

TEST(Parser, leavesXrayPointsOutOfTheIndexAndSkinPointsOnlyWhenSwitchedOff) {
    std::string document =
        atlas("<part header=\"Arm\"><views>" + view("Anterior Xray", "<point infoid=\"X\"/>") +
              view("Anterior Skin", "<point infoid=\"S\"/>") + "</views></part>");
    TorvexContent content;
    TreeNode* top = content.parseXMLData(document);
    EXPECT_FALSE(content.indexDictionary.contains("X"));
    EXPECT_TRUE(content.indexDictionary.contains("S"));
    TreeNode* xrayPoints = top->firstChild()->firstChild()->firstChild()->firstChild()->firstChild();
    EXPECT_EQ(xrayPoints->firstChild()->attribute("infoid"), "X");

    content.addPointsAnteriorSkinToIndex = false;
    content.parseXMLData(document);
    EXPECT_FALSE(content.indexDictionary.contains("S"));
    EXPECT_EQ(content.indexDictionary.size(), 1u);
}

TEST(Parser, keepsPartsWithoutHeaderAndPointsWithoutInfoidOutOfTheIndexOnly) {
    TorvexContent content;
    testing::internal::CaptureStderr();
    TreeNode* top =
        content.parseXMLData(atlas("<part><views>" + view("V", "<point x=\"1\"/><point infoid=\"\"/>") +
                                   "</views></part><part header=\"\"/>"));
    std::string log = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(content.indexDictionary.empty());
    EXPECT_EQ(top->firstChild()->children.size(), 2u);
    EXPECT_NE(log.find("2 \"part\" element(s) without \"header\", 2 \"point\" element(s) without \"infoid\""),
              std::string::npos);
}

TEST(Carving, takesTheTopRegionAndCutsOutTheInformationSection) {
    TorvexContent content;
    TreeNode* top = content.parseXMLData(
        atlas("<part header=\"Draft\"/><part header=\"Top\"/>", "<entry id=\"e\" title=\"E\">text</entry>"));
    ASSERT_TRUE(content.carve());
    EXPECT_EQ(content.root->getHeader(), "Top");
    EXPECT_EQ(content.allInfo->key, "information");
    EXPECT_EQ(content.allInfo->parent, nullptr);
    EXPECT_EQ(content.allInfo->lastChild()->firstChild()->leafvalue, "text");
    EXPECT_EQ(top->children.size(), 1u);
    // The tests that tell the top region from the others rely on exactly this ancestry.
    EXPECT_EQ(content.root->parent->parent->parent->key, "");
    EXPECT_EQ(content.root->parent->parent->parent->parent, nullptr);
    EXPECT_TRUE(content.carve());
    EXPECT_EQ(content.root->getHeader(), "Top");
}
