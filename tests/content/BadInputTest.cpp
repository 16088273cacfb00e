#include "TorvexContent.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/support/TemporaryFolder.h"

namespace {

using Status = TorvexContent::LoadStatus;

// A file of this test program's temporary folder, removed when the program ends.
std::filesystem::path badInputFile(std::string_view name, std::string_view contents) {
    static TemporaryFolder folder;
    std::filesystem::path path = folder.path() / name;
    writeFile(path, std::string(contents));
    return path;
}

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
    TorvexContent content;
    testing::internal::CaptureStderr();
    EXPECT_EQ(content.parseXMLFile(badInputFile("empty.xml", "").parent_path()), nullptr);
    EXPECT_EQ(content.status(), Status::Unreadable);
    EXPECT_NE(content.errorMessage().find("cannot read"), std::string::npos);
    EXPECT_EQ(content.parseXMLFile(badInputFile("empty.xml", "")), nullptr);
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

TEST(BadInput, entityAmplificationIsStoppedEarlyInTextAndInAttributes) {
    for (std::string_view use : {"<lolz>&lol9;</lolz>", "<lolz a=\"&lol9;\"/>"}) {
        TorvexContent content;
        std::string log = parseLogging(content, laughs(use));
        EXPECT_EQ(content.status(), Status::Malformed);
        EXPECT_NE(log.find("amplification"), std::string::npos) << log;
        TreeNode* top = content.root->lastChild();
        if (top) {
            EXPECT_LT(top->leafvalue.size(), 4u << 20);
            EXPECT_LT(top->attribute("a").size(), 4u << 20);
        }
    }
}

TEST(BadInput, oneLargeEntityUsedManyTimesIsStoppedToo) {
    std::string document = "<!DOCTYPE e [<!ENTITY big \"" + std::string(50000, 'x') + "\">]><e>";
    for (int i = 0; i < 20000; ++i)
        document += "&big;";
    TorvexContent content;
    std::string log = parseLogging(content, document + "</e>");
    EXPECT_EQ(content.status(), Status::Malformed);
    EXPECT_LT(content.root->lastChild()->leafvalue.size(), 4u << 20);
}

TEST(BadInput, externalEntitiesAndDtdsAreNeverRead) {
    std::string secret = badInputFile("secret.txt", "SECRET").string();
    std::string dtd = badInputFile("outside.dtd", "<!ENTITY inner \"SECRET\">").string();
    TorvexContent content;
    parseLogging(content, "<!DOCTYPE atlas SYSTEM \"file://" + dtd + "\" [<!ENTITY outer SYSTEM \"file://" +
                              secret + "\">]><atlas a=\"1\">before&outer;&inner;after</atlas>");
    TreeNode* top = content.root->lastChild();
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(top->leafvalue.find("SECRET"), std::string::npos);
    EXPECT_EQ(top->leafvalue.substr(0, 6), "before");
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
