// The atlas generator on a drawing small enough to work out by hand: the authoring file's syntax and
// its errors, where flags, hit areas and zoom placement land, and the raster steps behind them.

#include "AtlasBuilder.h"
#include "AtlasReader.h"
#include "AtlasTestText.h"
#include "DataFile.h"
#include "DataFileShape.h"
#include "IndentedText.h"
#include "Mask.h"
#include "Placement.h"
#include "ViewFrame.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include "tests/support/TemporaryFolder.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>

namespace {

using namespace atlas;

// A square frame as the body's outline, and inside it square A and tall rectangle B, unpainted as the
// anatomogram drawings leave their shapes.
constexpr char drawing[] =
    R"(<svg xmlns="http://www.w3.org/2000/svg" width="100" height="100" viewBox="0 0 100 100">
  <path id="outline" d="M10,10 H90 V90 H10 Z M12,12 V88 H88 V12 Z" fill="#888" fill-rule="evenodd"/>
  <rect id="A" x="20" y="30" width="20" height="20" style="fill:none;stroke:none"/>
  <rect id="B" x="50" y="30" width="30" height="40" style="fill:none;stroke:none"/>
</svg>
)";

constexpr char source[] = R"(atlas Test
  artwork art drawing.svg
    silhouette outline

structure A Alpha
  latin Alpha latina
  about First.
structure B Beta
  latin Beta latina

region Whole
  about The whole.
  view Anterior
    artwork art
    window 0 0 100 100
    shapes
      A #c03030
      B #3030c0
  view Posterior
    like Anterior
    mirror
  region Part
    hit B
    view Anterior
      artwork art
      window 50 30 30 40
      shapes
        B
)";

class Generator : public ::testing::Test {
protected:
    void SetUp() override { std::ofstream(folder / "drawing.svg") << drawing; }

    BuiltAtlas build(const std::string& text) {
        AtlasSource atlas = readAtlasText(text, folder / "test.atlas");
        return AtlasBuilder(atlas, folder / "bundle").build();
    }

    // The line of the AuthoringError that TEXT raises, or -1 when it raises none.
    int errorLine(const std::string& text, const std::string& phrase) {
        try {
            build(text);
        } catch (const AuthoringError& error) {
            EXPECT_NE(std::string(error.what()).find(phrase), std::string::npos) << error.what();
            return error.line();
        }
        return -1;
    }

    TemporaryFolder temporary;
    std::filesystem::path folder = temporary.path();
};

TEST(IndentedText, NestsByIndentationAndKeepsColoursThatLookLikeComments) {
    auto statements = parseIndentedText("# heading\nregion Body  # a comment\n  view Front\n    shapes\n"
                                        "      A #c03030 0.5\n  view Back\n",
                                        "x");
    ASSERT_EQ(statements.size(), 1u);
    EXPECT_EQ(statements[0].rest, "Body");
    ASSERT_EQ(statements[0].children.size(), 2u);
    EXPECT_EQ(statements[0].children[0].children[0].children[0].rest, "#c03030 0.5");
    EXPECT_EQ(statements[0].children[1].line, 6);
}

TEST(IndentedText, RejectsTabsAndIndentationThatLinesUpWithNothing) {
    EXPECT_THROW(parseIndentedText("region A\n\tview B\n", "x"), AuthoringError);
    try {
        parseIndentedText("region A\n    view B\n  view C\n", "x");
        ADD_FAILURE();
    } catch (const AuthoringError& error) {
        EXPECT_EQ(error.line(), 3);
    }
}

TEST_F(Generator, ReportsAuthoringMistakesOnTheirLines) {
    struct Mistake {
        std::string from, to, phrase, at;
    } mistakes[] = {
        {"    mirror\n", "    mirrored\n", "unknown statement", "mirrored"},
        {"    view Anterior\n      artwork", "    view Front\n      artwork", "\"Anterior\"", "region Part"},
        {"  view Posterior\n    like Anterior\n    mirror\n", "  view Posterior -> Lateral\n",
         "no view \"Lateral\"", "view Posterior"},
        {"        B\n", "        C\n", "no structure C", "        C"},
        {"        B\n", "        A\n        Z plain\n", "the shape Z is no element", "Z plain"},
        {"window 0 0 100 100", "window 0 57 100 100", "no room for its flag", "      A #c03030"},
    };
    for (const Mistake& mistake : mistakes) {
        std::string text = replaced(source, mistake.from, mistake.to);
        EXPECT_EQ(errorLine(text, mistake.phrase), lineOf(text, mistake.at)) << mistake.phrase;
    }
}

TEST_F(Generator, PutsFlagsInTheMiddleOfTheirShapesAndMirrorsThemForTheBack) {
    BuiltAtlas built = build(source);
    // The window 100 x 100 is widened to 100 x 131.25 from y = -15.625: 6.4 pixels per unit.
    const BuiltView& front = built.top.views[0];
    ASSERT_EQ(front.points.size(), 2u);
    EXPECT_EQ(front.points[0].infoid, "Label A");
    EXPECT_NEAR(front.points[0].x, 30 * 6.4 * 0.75, 2);
    EXPECT_NEAR(front.points[0].y, (40 + 15.625) * 6.4 * 0.75 + 45, 2);
    const BuiltView& back = built.top.views[1];
    EXPECT_NEAR(back.points[0].x, (640 - 30 * 6.4) * 0.75, 2);
}

TEST_F(Generator, PlacesThePressableSquareInsideTheSubRegionClearOfFlags) {
    BuiltAtlas built = build(source);
    const BuiltView& part = built.top.regions[0].views[0];
    ASSERT_TRUE(part.hit);
    // B covers 320..512 x 292..548 pixels of the parent's picture; its square is 112 pixels a side.
    Box square{part.hit->x / 0.75, part.hit->y / 0.75, part.hit->width / 0.75, part.hit->height / 0.75};
    EXPECT_NEAR(square.width, 112, 0.5);
    EXPECT_GE(square.centreX(), 320);
    EXPECT_LE(square.centreX(), 512);
    EXPECT_GE(square.centreY(), 292);
    EXPECT_LE(square.centreY(), 548);
    EXPECT_NEAR(part.hit->sx, square.centreX() * 0.75, 0.5);
    for (const BuiltPoint& point : built.top.views[0].points) {
        Box flag = flagFrame(point);
        bool apart = square.right() <= flag.x || flag.right() <= square.x || square.bottom() <= flag.y ||
                     flag.bottom() <= square.y;
        EXPECT_TRUE(apart) << point.infoid;
    }
}

TEST_F(Generator, PlacesTheZoomWhereTheSubRegionsWindowLiesInTheParentsPicture) {
    BuiltAtlas built = build(source);
    const BuiltView& part = built.top.regions[0].views[0];
    // Part's window 30 x 40 widens to 30.476 x 40 about its centre.
    ASSERT_TRUE(part.zoom);
    EXPECT_NEAR(part.zoom->x, (65 - 30.476 / 2) * 6.4 * 0.75, 0.5);
    EXPECT_NEAR(part.zoom->y, 45.625 * 6.4 * 0.75, 0.5);
    EXPECT_NEAR(part.zoom->scale, 30.476, 0.1);
    EXPECT_TRUE(built.top.views[0].offersHotspots);
    EXPECT_FALSE(built.top.views[1].offersHotspots);
}

TEST_F(Generator, WritesPicturesAt2xAndEntriesNamedWithLabel) {
    BuiltAtlas built = build(source);
    ASSERT_TRUE(writeDataFile(built, folder / "bundle" / "torvex.xml"));
    cairo_surface_t* picture =
        cairo_image_surface_create_from_png((folder / "bundle/atlas/Whole/Posterior@2x.png").c_str());
    EXPECT_EQ(cairo_image_surface_get_width(picture), 640);
    EXPECT_EQ(cairo_image_surface_get_height(picture), 840);
    cairo_surface_destroy(picture);
    EXPECT_EQ(built.top.views[1].src, "atlas/Whole/Posterior.png");
    std::vector<std::string> ids;
    for (const BuiltEntry& entry : built.entries)
        ids.push_back(entry.id);
    EXPECT_EQ(ids,
              (std::vector<std::string>{"Label Region Whole", "Label Region Part", "Label A", "Label B"}));
}

TEST(Masks, ALabelStandsInsideARingNotInItsHole) {
    Mask ring(200, 200);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 200; ++x) {
            double r = std::hypot(x - 100, y - 100);
            ring.at(x, y) = r > 50 && r < 80 ? 255 : 0;
        }
    auto spot = ring.labelPoint({0, 0, 200, 200});
    ASSERT_TRUE(spot);
    double r = std::hypot(spot->x - 100, spot->y - 100);
    EXPECT_GT(r, 58);
    EXPECT_LT(r, 72);
    EXPECT_FALSE(ring.labelPoint({0, 0, 200, 15}));
}

TEST(Masks, TheOuterContourKeepsStrokesTouchingTheOutsideOnly) {
    Mask lines(100, 100);
    for (int i = 10; i < 90; ++i) {
        lines.at(i, 10) = lines.at(i, 89) = lines.at(10, i) = lines.at(89, i) = 255; // the frame
        if (i > 30 && i < 70)
            lines.at(i, 50) = 255; // a line inside it
    }
    Mask outside = Mask::outsideOf(lines, 40);
    EXPECT_EQ(outside.at(5, 5), 255);
    EXPECT_EQ(outside.at(50, 40), 0);
    Mask contour = Mask::strokesTouching(lines, outside);
    EXPECT_EQ(contour.at(10, 50), 255);
    EXPECT_EQ(contour.at(50, 50), 0);
}

TEST(Placement, APressSquareAvoidsFlagsAndStaysInsideItsArea) {
    Mask area(640, 840);
    for (int y = 100; y < 500; ++y)
        for (int x = 100; x < 300; ++x)
            area.at(x, y) = 255;
    Box flag{150, 250, 100, 100}; // over the area's middle
    Box square = pressSquare(area, {flag});
    EXPECT_DOUBLE_EQ(square.width, 112);
    EXPECT_TRUE(square.bottom() <= flag.y || square.y >= flag.bottom());
    EXPECT_GE(square.centreY(), 100);
    EXPECT_LE(square.centreY(), 500);
}

TEST(Placement, AZoomPlacementNeverReadsAsNone) {
    EXPECT_NE(zoomFrom({0, 10, 320, 420}).x, 0);
    EXPECT_DOUBLE_EQ(zoomFrom({0, 10, 320, 420}).scale, 50);
    ViewFrame mirrored({0, 0, 100, 100}, true);
    Box left = mirrored.toPixels({0, 0, 10, 10});
    EXPECT_NEAR(left.right(), 640, 1e-9);
}

} // namespace
