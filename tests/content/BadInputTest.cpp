#include "TorvexContent.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/support/TemporaryFolder.h"

namespace {

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

TEST(BadInput, aMissingDataFileIsReportedWithItsPathAndLeavesAnEmptyDocument) {
    TorvexContent content("/nonexistent-bundle");
    testing::internal::CaptureStderr();
    EXPECT_EQ(content.parseXMLFileAtFile("torvex.xml"), Status::Unreadable);
    EXPECT_FALSE(content.carve());
    std::string log = testing::internal::GetCapturedStderr();
    EXPECT_NE(content.errorMessage().find("/nonexistent-bundle/torvex.xml"), std::string::npos);
    EXPECT_NE(log.find(content.errorMessage()), std::string::npos);
    EXPECT_EQ(content.root, nullptr);
    EXPECT_EQ(content.document()->children.size(), 0u);
}

TEST(BadInput, aDataFileThatIsAFolderIsUnreadableAndAnEmptyOneMalformed) {
    TemporaryFolder folder;
    writeFile(folder / "empty.xml", "");
    TorvexContent content;
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
