// The authoring file's reader on what an author may get wrong.

#include "AtlasBuilder.h"
#include "AtlasReader.h"

#include <gtest/gtest.h>

#include "tests/support/TemporaryFolder.h"

#include <filesystem>
#include <fstream>
#include <string>

namespace {

using namespace atlas;

constexpr char readerDrawing[] =
    R"(<svg xmlns="http://www.w3.org/2000/svg" width="100" height="100" viewBox="0 0 100 100">
  <path id="outline" d="M10,10 H90 V90 H10 Z M12,12 V88 H88 V12 Z" fill="#888" fill-rule="evenodd"/>
  <rect id="A" x="20" y="30" width="20" height="20" style="fill:none;stroke:none"/>
</svg>
)";

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

TEST(AuthoringReader, AShapesColourMayBeFollowedByAnOpacityAndTheShapesOtherWords) {
    auto shapeOf = [](const std::string& line) {
        return readAtlasText(readerAtlas("window 0 0 100 100", line), "test.atlas").top.views[0].shapes[0];
    };

    ShapeUse plain = shapeOf("A #c03030 plain");
    ASSERT_TRUE(plain.colour);
    EXPECT_EQ(plain.colour->alpha, 1);
    EXPECT_FALSE(plain.flagged);

    ShapeUse faded = shapeOf("A #c03030 0.5 still as A");
    ASSERT_TRUE(faded.colour);
    EXPECT_EQ(faded.colour->alpha, 0.5);
    EXPECT_TRUE(faded.still);
    EXPECT_EQ(faded.structure, "A");
}

class PicturesFolder : public ::testing::Test {
protected:
    void SetUp() override {
        writeFile(folder / "drawing.svg", readerDrawing);
        writeFile(folder / "bundle" / "Buttons" / "info@2x.png", "the program's artwork");
    }

    // Reads and builds TEXT into the bundle as the generator does; the line of its AuthoringError.
    int buildErrorLine(const std::string& text) {
        try {
            AtlasSource source = readAtlasText(text, folder / "test.atlas");
            AtlasBuilder(source, folder / "bundle").build();
        } catch (const AuthoringError& error) {
            EXPECT_NE(std::string(error.what()).find("a folder inside the bundle"), std::string::npos)
                << error.what();
            return error.line();
        }
        return -1;
    }

    TemporaryFolder temporary;
    std::filesystem::path folder = temporary.path();
};

TEST_F(PicturesFolder, ThatIsTheBundleItselfIsRefusedAndTheBundleKeepsItsFiles) {
    for (const char* name : {".", "./", ".//", "./.", "x/.."}) {
        EXPECT_EQ(
            buildErrorLine(readerAtlas("window 0 0 100 100", "A", std::string("  pictures ") + name + "\n")),
            4)
            << name;
        EXPECT_TRUE(std::filesystem::exists(folder / "bundle" / "Buttons" / "info@2x.png")) << name;
    }
}

} // namespace
