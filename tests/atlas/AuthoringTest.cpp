// The atlas generator on the sketch (AtlasTestText.h): the authoring file's syntax, what an author gets
// wrong (each reported on its line with what to do: slips stop the build, surprises only warn), where
// flags, hit areas and zoom placement land, the raster steps behind them, the proof sheet and the tool.

#include "AtlasTestText.h"
#include "ContactSheet.h"
#include "DataFile.h"
#include "Mask.h"
#include "Placement.h"
#include "ViewFrame.h"

#include <cairo.h>

#include "tests/support/CommandRun.h"

#include <cmath>

namespace {

using namespace atlas;

// Edits of the sketch's authoring file and the message each brings, on the line of `at`.
using Edits = std::vector<std::pair<std::string, std::string>>;
struct Slip {
    Edits edits;
    bool stopsTheBuild;
    std::string phrase, at;
};
Slip stop(Edits edits, std::string phrase, std::string at) {
    return {std::move(edits), true, phrase, at};
}
Slip warn(Edits edits, std::string phrase, std::string at) {
    return {std::move(edits), false, phrase, at};
}

TEST_F(Authoring, EachMistakeIsReportedOnItsLineWithWhatToDo) {
    const Slip slips[] = {
        stop({{"    mirror\n", "    mirrored\n"}}, "unknown statement", "mirrored"),
        stop({{"  view Posterior\n", "\tview Posterior\n"}}, "not tabs", "\tview Posterior"),
        stop({{"  view Posterior\n", " view Posterior\n"}}, "does not line up", " view Posterior"),
        stop({{"    view Anterior\n      artwork", "    view Front\n      artwork"}}, "\"Anterior\"",
             "region Part"),
        stop({{"    like Anterior\n    mirror\n", ""}, {"view Posterior", "view Posterior -> Lateral"}},
             "no view \"Lateral\"", "view Posterior"),
        stop({{"        B\n", "        C\n"}}, "no structure C", "        C"),
        stop({{"        B\n", "        A\n        Z plain\n"}}, "the shape Z is no element", "Z plain"),
        stop({{"      A #c03030 at 100 50\n", ""}, {"window 0 0 100 100", "window 0 80 100 100"}},
             "no room for its flag", "      B #3030c0"),
        // Numbers that are not finite (all read by one function), and an opacity that is none.
        stop({{"window 0 0 100 100", "window 0 0 inf 100"}}, "\"inf\" is not a number", "inf"),
        stop({{"structure B Beta", "structure B Beta\n  colour #c03030 nan"}}, "an opacity from 0 to 1",
             "colour"),
        // A ring in a view the parent lacks; a misspelt hit shape, with the ids it might mean.
        stop({{"    hit B\n", "    hit B\n    rings Lateral\n"}}, "rings names \"Lateral\", a view region",
             "rings Lateral"),
        stop({{"    hit B\n", "    hit Bx\n"}},
             "\"hit\" names Bx is no element of the artwork \"art\" (did you mean B", "hit Bx"),
        // Two structures with one title; one shape listed twice; a shape too small to press.
        stop({{"structure B Beta", "structure B Alpha"}}, "the title \"Alpha\" is taken already (line 5)",
             "structure B Alpha"),
        stop({{"      B #3030c0\n", "      B #3030c0\n      A\n"}},
             "A is listed twice in this view (first on line 15)", "      A\n"),
        warn({{"      B #3030c0\n", "      B #3030c0\n      speck as S\n"}}, "speck is only 2 x 2 points",
             "speck as S"),
        // A drawing that is no SVG, a silhouette it lacks, a "like" of an alias: on the author's lines.
        stop({{"sketch.svg", "broken.svg"}}, "the artwork must be an SVG file", "artwork art"),
        stop({{"silhouette outline", "silhouette outlines"}},
             "the silhouette outlines is no element of the artwork \"art\" (did you mean outline",
             "silhouette"),
        stop({{"  view Posterior\n    like Anterior\n",
               "  view Front -> Anterior\n  view Posterior\n    like Front\n"}},
             "\"like Front\": \"Front\" is an alias", "like Front"),
        // Pictures put in the bundle itself, where they would take the place of the program's own.
        stop({{"structure A", "  pictures ./.\n\nstructure A"}}, "a folder inside the bundle", "pictures"),
        stop({{"structure A", "  pictures x/..\n\nstructure A"}}, "a folder inside the bundle", "pictures"),
        // Consequences: no swipe reaches "Posterior"; a quiz area without regions inside has no questions.
        warn({}, "\"Posterior\" cannot be reached by swiping", "region Whole"),
        warn({}, "the quiz area \"Part\" offers 0 questions, and a quiz needs 12: the quiz asks only about",
             "region Part"),
        // Text that the program cuts.
        warn(
            {{"latin Alpha latina", "latin Musculus flexor digitorum superficialis caput humeroulnare"}},
            "points wide in the flag's bubble, which has room for 267: it is cut off; shorten the Latin name",
            "structure A"),
        warn({{"region Part", "region The deep and superficial muscles of the forearm"}},
             "in the header beside the back button", "region The deep"),
    };
    writeFile(folder / "bundle/Buttons/info@2x.png", "the program's artwork");
    for (const Slip& slip : slips) {
        std::string text = sketchAtlas;
        for (const auto& [from, to] : slip.edits)
            text = replaced(text, from, to);
        Outcome outcome = slip.edits.empty() ? sketchBuilt() : build(text);
        ASSERT_EQ(outcome.error.has_value(), slip.stopsTheBuild)
            << slip.phrase << (outcome.error ? outcome.error->what() : "");
        int expectedLine = lineOf(text, slip.at);
        if (outcome.error) {
            EXPECT_NE(std::string(outcome.error->what()).find(slip.phrase), std::string::npos)
                << outcome.error->what();
            EXPECT_EQ(outcome.error->line(), expectedLine) << slip.phrase;
            continue;
        }
        std::string all;
        bool found = false;
        for (const AuthoringWarning& warning : outcome.warnings) {
            all += "\n" + std::to_string(warning.line) + ": " + warning.message;
            found = found ||
                    (warning.line == expectedLine && warning.message.find(slip.phrase) != std::string::npos);
        }
        EXPECT_TRUE(found) << slip.phrase << all;
    }
    EXPECT_TRUE(std::filesystem::exists(folder / "bundle/Buttons/info@2x.png"))
        << "the program's own artwork";
}

// The sample atlas's build fails on a misread opacity, "plain" or "as"; "still" only shows here.
TEST_F(Authoring, AShapesColourMayBeFollowedByAnOpacityAndTheShapesOtherWords) {
    ShapeUse faded =
        readAtlasText(replaced(sketchAtlas, "A #c03030 at 100 50", "A #c03030 0.5 still as B"), "test.atlas")
            .top.views[0]
            .shapes[0];
    ASSERT_TRUE(faded.colour);
    EXPECT_EQ(faded.colour->alpha, 0.5);
    EXPECT_TRUE(faded.still);
    EXPECT_EQ(faded.structure, "B");
}

TEST_F(Authoring, FlagsGoInTheMiddleOfTheirShapesOrWhereTheAuthorPutThemAndAreMirroredForTheBack) {
    const BuiltAtlas& built = sketchBuilt().built;
    // The window 100 x 100 is widened to 100 x 131.25 from y = -15.625: 6.4 pixels per unit.
    const BuiltView& front = built.top.views[0];
    ASSERT_EQ(front.points.size(), 2u);
    EXPECT_DOUBLE_EQ(front.points[0].x, 100 * 1.5);
    EXPECT_EQ(front.points[1].infoid, "Label B");
    EXPECT_NEAR(front.points[1].x, 65 * 6.4 * 0.75, 2);
    EXPECT_NEAR(front.points[1].y, (50 + 15.625) * 6.4 * 0.75 + 45, 2);
    const auto& back = built.top.views[1].points;
    EXPECT_TRUE(std::ranges::any_of(back, [](const BuiltPoint& point) { return point.x == 220 * 1.5; }));
    EXPECT_TRUE(std::ranges::any_of(
        back, [](const BuiltPoint& point) { return std::abs(point.x - (640 - 65 * 6.4) * 0.75) < 2; }));
}

TEST_F(Authoring, ThePressableSquareLiesInsideTheSubRegionClearOfFlags) {
    const BuiltAtlas& built = sketchBuilt().built;
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

TEST_F(Authoring, TheZoomIsWhereTheSubRegionsWindowLiesInTheParentsPicture) {
    const BuiltAtlas& built = sketchBuilt().built;
    const BuiltView& part = built.top.regions[0].views[0];
    // Part's window 30 x 40 widens to 30.476 x 40 about its centre.
    ASSERT_TRUE(part.zoom);
    EXPECT_NEAR(part.zoom->x, (65 - 30.476 / 2) * 6.4 * 0.75, 0.5);
    EXPECT_NEAR(part.zoom->y, 45.625 * 6.4 * 0.75, 0.5);
    EXPECT_NEAR(part.zoom->scale, 30.476, 0.1);
    EXPECT_TRUE(built.top.views[0].offersHotspots);
    EXPECT_FALSE(built.top.views[1].offersHotspots);
}

TEST_F(Authoring, PicturesAreWrittenAt2xWithTheUnfilledOutlineALineAroundTheBodysColour) {
    const BuiltAtlas& built = sketchBuilt().built;
    ASSERT_TRUE(writeDataFile(built, folder / "torvex.xml"));
    EXPECT_EQ(built.top.views[1].src, "atlas/Whole/Posterior.png");
    cairo_surface_t* picture =
        cairo_image_surface_create_from_png((sketchBundle() / "atlas/Whole/Anterior@2x.png").c_str());
    EXPECT_EQ(cairo_image_surface_get_width(picture), 640);
    EXPECT_EQ(cairo_image_surface_get_height(picture), 840);
    // Units (15, 80) lie inside the outline and outside every shape: 6.4 pixels a unit, 15.625 units down.
    const auto* pixel =
        cairo_image_surface_get_data(picture) + 612 * cairo_image_surface_get_stride(picture) + 96 * 4;
    EXPECT_NEAR(pixel[2], 0.945 * 255, 2); // the default body colour's red, not the lines' grey
    cairo_surface_destroy(picture);
}

TEST_F(Authoring, TheProofSheetIsAPdfPageForTheWarningsAndOneForEachView) {
    ASSERT_TRUE(writeContactSheet(sketchBuilt().built, sketchBundle(), folder / "proof.pdf", {"a warning"}));
    std::string pdf = readFile(folder / "proof.pdf");
    ASSERT_TRUE(pdf.starts_with("%PDF"));
    auto count = pdf.find("/Count ");
    ASSERT_NE(count, std::string::npos);
    EXPECT_EQ(std::stoi(pdf.substr(count + 7)), 1 + 3); // Whole's Anterior and Posterior, Part's Anterior
}

TEST_F(Authoring, TheToolNamesFileAndLineOfEachWarningAndStrictMakesThemErrors) {
    writeFile(folder / "test.atlas", sketchAtlas);
    std::string tool = std::string(TORVEX_ATLAS_BINARY) + " '" + (folder / "test.atlas").string() + "' '" +
                       (folder / "bundle").string() + "'";
    CommandRun lenient = runCommand(tool + " 2>&1");
    EXPECT_EQ(lenient.status, 0) << lenient.output;
    std::string where =
        (folder / "test.atlas").string() + ":" + std::to_string(lineOf(sketchAtlas, "region Whole"));
    EXPECT_NE(lenient.output.find(where + ": warning: region \"Whole\""), std::string::npos)
        << lenient.output;
    EXPECT_TRUE(std::filesystem::exists(folder / "bundle/torvex.xml"));

    std::filesystem::remove(folder / "bundle/torvex.xml");
    CommandRun strict = runCommand(tool + " --strict 2>&1");
    EXPECT_NE(strict.status, 0);
    EXPECT_NE(strict.output.find(where + ": error: region \"Whole\""), std::string::npos) << strict.output;
    EXPECT_FALSE(std::filesystem::exists(folder / "bundle/torvex.xml"));

    CommandRun shapes =
        runCommand(std::string(TORVEX_ATLAS_BINARY) + " --shapes '" + (folder / "sketch.svg").string() + "'");
    EXPECT_NE(shapes.output.find("Alpha organ"), std::string::npos) << shapes.output;
    EXPECT_NE(shapes.output.find("speck"), std::string::npos) << shapes.output;
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

// The press square's place is checked on the sketch (ThePressableSquareLiesInsideTheSubRegionClearOfFlags).
TEST(Placement, AZoomPlacementNeverReadsAsNoneAndAMirroredBoxEndsAtThePicturesRightEdge) {
    EXPECT_NE(zoomFrom({0, 10, 320, 420}).x, 0);
    EXPECT_DOUBLE_EQ(zoomFrom({0, 10, 320, 420}).scale, 50);
    ViewFrame mirrored({0, 0, 100, 100}, true);
    EXPECT_NEAR(mirrored.toPixels({0, 0, 10, 10}).right(), 640, 1e-9);
}

} // namespace
