#include "TorvexContent.h"

#include <gtest/gtest.h>

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

using Status = TorvexContent::LoadStatus;

// Parses DOCUMENT and returns what was logged.
std::string parseLogging(TorvexContent& content, std::string_view document) {
    testing::internal::CaptureStderr();
    content.parseXMLData(document, "test.xml");
    return testing::internal::GetCapturedStderr();
}

std::string laughs(std::string_view use) {
    std::string document = "<!DOCTYPE lolz [<!ENTITY lol0 \"lol\">";
    for (int level = 1; level <= 9; ++level) {
        document += "<!ENTITY lol" + std::to_string(level) + " \"";
        for (int i = 0; i < 10; ++i)
            document += "&lol" + std::to_string(level - 1) + ";";
        document += "\">";
    }
    return document + "]>" + std::string(use);
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

TEST(Parser, leavesXrayPointsOutOfTheIndexButInTheTreeAndIndexesSkinPoints) {
    TorvexContent content;
    TreeNode* top = content.parseXMLData(
        atlas("<part header=\"Arm\"><views>" + view("Anterior Xray", "<point infoid=\"X\"/>") +
              view("Anterior Skin", "<point infoid=\"S\"/>") + "</views></part>"));
    EXPECT_FALSE(content.indexDictionary.contains("X"));
    EXPECT_TRUE(content.indexDictionary.contains("S"));
    TreeNode* xrayPoints = top->firstChild()->firstChild()->firstChild()->firstChild()->firstChild();
    EXPECT_EQ(xrayPoints->firstChild()->attribute("infoid"), "X");
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

TEST(BadInput, aMissingDataFileOrAFolderIsUnreadableAndNamedAndAnEmptyOneMalformed) {
    TorvexContent content("/nonexistent-bundle");
    testing::internal::CaptureStderr();
    EXPECT_EQ(content.parseXMLFileAtFile("torvex.xml"), Status::Unreadable);
    EXPECT_FALSE(content.carve());
    std::string log = testing::internal::GetCapturedStderr();
    EXPECT_NE(content.errorMessage().find("/nonexistent-bundle/torvex.xml"), std::string::npos);
    EXPECT_NE(log.find(content.errorMessage()), std::string::npos);
    EXPECT_EQ(content.root, nullptr);
    EXPECT_EQ(content.document()->children.size(), 0u) << "an empty document is left";
    TemporaryFolder folder;
    writeFile(folder / "empty.xml", "");
    testing::internal::CaptureStderr();
    EXPECT_EQ(content.parseXMLFile(folder.path()), nullptr);
    EXPECT_EQ(content.status(), Status::Unreadable);
    EXPECT_NE(content.errorMessage().find("cannot read"), std::string::npos);
    EXPECT_EQ(content.parseXMLFile(folder / "empty.xml"), nullptr);
    EXPECT_EQ(content.status(), Status::Malformed);
    testing::internal::GetCapturedStderr();
}

TEST(BadInput, aMalformedDocumentKeepsWhatCameBeforeTheErrorAndLogsItsLine) {
    TorvexContent content;
    std::string log =
        parseLogging(content, "<atlas>\n<regions>\n<part header=\"A\">te&amp;xt<views></part>\n</atlas>");
    EXPECT_EQ(content.status(), Status::Malformed);
    EXPECT_NE(content.errorMessage().find("test.xml: line 3"), std::string::npos);
    EXPECT_NE(content.errorMessage().find("mismatched tag"), std::string::npos);
    EXPECT_NE(log.find(content.errorMessage()), std::string::npos);
    EXPECT_EQ(content.stack.size(), 1u);
    TreeNode* part = content.root->lastChild()->lastChild()->lastChild();
    ASSERT_NE(part, nullptr);
    EXPECT_EQ(part->leafvalue, "te&xt");
    EXPECT_EQ(part->lastChild()->key, "views");
    EXPECT_EQ(content.indexDictionary.find("A"), part);
}

TEST(BadInput, entityAmplificationIsStoppedEarlyInTextAndInAttributesAndForOneLargeEntityUsedOften) {
    std::string oneLarge = "<!DOCTYPE e [<!ENTITY big \"" + std::string(50000, 'x') + "\">]><lolz>";
    for (int i = 0; i < 20000; ++i)
        oneLarge += "&big;";
    for (std::string document :
         {laughs("<lolz>&lol9;</lolz>"), laughs("<lolz a=\"&lol9;\"/>"), oneLarge + "</lolz>"}) {
        TorvexContent content;
        std::string log = parseLogging(content, document);
        EXPECT_EQ(content.status(), Status::Malformed);
        EXPECT_NE(log.find("amplification"), std::string::npos) << log;
        TreeNode* top = content.root->lastChild();
        if (top) {
            EXPECT_LT(top->leafvalue.size(), 4u << 20);
            EXPECT_LT(top->attribute("a").size(), 4u << 20);
        }
    }
}

TEST(BadInput, absurdlyDeepNestingIsCutOffAndTheTreeStaysUsable) {
    std::string document;
    for (int i = 0; i < 100000; ++i)
        document += "<a>";
    TorvexContent content;
    std::string log = parseLogging(content, document);
    EXPECT_EQ(content.status(), Status::Malformed);
    EXPECT_NE(log.find("nested deeper than"), std::string::npos);
    std::size_t depth = 0;
    for (const TreeNode* node = content.root->lastChild(); node; node = node->lastChild())
        ++depth;
    EXPECT_GT(depth, 100u);
    EXPECT_LE(depth, 512u);
    EXPECT_NE(content.root->copy(), nullptr);
}
