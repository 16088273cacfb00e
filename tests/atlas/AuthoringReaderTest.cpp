// The authoring file's reader on what an author may get wrong.

#include "AtlasReader.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace atlas;

// Line 9 is the view's setting, line 11 its one shape.
std::string readerAtlas(const std::string& viewSetting, const std::string& shape = "A #c03030",
                        const std::string& atlasSetting = "") {
    return "atlas Test\n  artwork art drawing.svg\n    silhouette outline\n" + atlasSetting +
           "structure A Alpha\n\nregion Whole\n  view Anterior\n    artwork art\n    " + viewSetting +
           "\n    shapes\n      " + shape + "\n";
}

// The line of the AuthoringError that TEXT raises, or -1 when it reads.
int readErrorLine(const std::string& text, const std::string& phrase) {
    try {
        readAtlasText(text, "test.atlas");
    } catch (const AuthoringError& error) {
        EXPECT_NE(std::string(error.what()).find(phrase), std::string::npos) << error.what();
        return error.line();
    }
    return -1;
}

TEST(AuthoringReader, NumbersThatAreNotFiniteAreRefusedOnTheirLine) {
    EXPECT_EQ(readErrorLine(readerAtlas("window 0 0 inf 100"), "\"inf\" is not a number"), 9);
    EXPECT_EQ(readErrorLine(readerAtlas("window nan 0 100 100"), "\"nan\" is not a number"), 9);
    EXPECT_EQ(readErrorLine(readerAtlas("margin nan"), "\"nan\" is not a number"), 9);
    EXPECT_EQ(readErrorLine(readerAtlas("explode -inf"), "\"-inf\" is not a number"), 9);
    EXPECT_EQ(
        readErrorLine(readerAtlas("window 0 0 100 100", "A at infinity 5"), "\"infinity\" is not a number"),
        11);
    std::string opacity = readerAtlas("window 0 0 100 100");
    opacity.insert(opacity.find("\n", opacity.find("structure A")) + 1, "  colour #c03030 nan\n");
    EXPECT_EQ(readErrorLine(opacity, "an opacity from 0 to 1"), 5);
    EXPECT_EQ(readErrorLine(readerAtlas("window 0 0 100 100"), ""), -1);
}

} // namespace
