// What an author gets wrong, each reported on its line with what to do: slips that stop the build,
// and surprises that only warn. The drawing is what a drawing program saves: ids and labels, no titles,
// and the body's outline an unfilled stroke.

#include "Artwork.h"
#include "AtlasBuilder.h"
#include "AtlasReader.h"
#include "AtlasTestText.h"
#include "ContactSheet.h"
#include "IndentedText.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include "tests/support/CommandRun.h"
#include "tests/support/TemporaryFolder.h"

#include <filesystem>
#include <fstream>
#include <optional>

namespace {

using namespace atlas;

constexpr char sketch[] =
    R"(<svg xmlns="http://www.w3.org/2000/svg" xmlns:inkscape="http://www.inkscape.org/namespaces/inkscape"
     width="100" height="100" viewBox="0 0 100 100">
  <path id="outline" d="M10,10 H90 V90 H10 Z" style="fill:none;stroke:#000000;stroke-width:1"/>
  <g id="layer1" inkscape:label="Organs">
    <rect id="A" inkscape:label="Alpha organ" x="20" y="30" width="20" height="20"/>
    <rect id="B" x="50" y="30" width="30" height="40"/>
    <rect id="speck" x="30" y="60" width="0.6" height="0.6"/>
  </g>
</svg>
)";

constexpr char sketchAtlas[] = R"(atlas Test
  artwork art sketch.svg
    silhouette outline

structure A Alpha
  latin Alpha latina
structure B Beta
structure S Speck

region Whole
  view Anterior
    artwork art
    window 0 0 100 100
    shapes
      A #c03030 at 100 50
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

struct Outcome {
    std::optional<AuthoringError> error;
    std::vector<AuthoringWarning> warnings;
    BuiltAtlas built;
};

class AuthoringMistakes : public ::testing::Test {
protected:
    void SetUp() override {
        std::ofstream(folder / "sketch.svg") << sketch;
        std::ofstream(folder / "broken.svg") << "<svg xmlns=\"http://www.w3.org/2000/svg\"><rect";
    }

    Outcome build(const std::string& text) {
        Outcome outcome;
        try {
            AtlasSource atlas = readAtlasText(text, folder / "test.atlas");
            AtlasBuilder builder(atlas, folder / "bundle");
            outcome.built = builder.build();
            outcome.warnings = builder.warnings();
        } catch (const AuthoringError& error) {
            outcome.error = error;
        }
        return outcome;
    }

    TemporaryFolder temporary;
    std::filesystem::path folder = temporary.path();
};

// Edits of the sketch's authoring file and the message each brings, on the line of `at`.
struct Slip {
    std::vector<std::pair<std::string, std::string>> edits;
    bool stopsTheBuild;
    std::string phrase, at;
};

TEST_F(AuthoringMistakes, EachIsReportedOnItsLineWithWhatToDo) {
    const Slip slips[] = {
        // A ring in a view the parent lacks.
        {{{"    hit B\n", "    hit B\n    rings Lateral\n"}},
         true,
         "rings names \"Lateral\", a view region",
         "rings Lateral"},
        // A misspelt hit shape, with the ids it might mean.
        {{{"    hit B\n", "    hit Bx\n"}},
         true,
         "\"hit\" names Bx is no element of the artwork \"art\" (did you mean B",
         "hit Bx"},
        // Two structures with one title.
        {{{"structure B Beta", "structure B Alpha"}},
         true,
         "the title \"Alpha\" is taken already (line 5)",
         "structure B Alpha"},
        // One shape listed twice.
        {{{"      B #3030c0\n", "      B #3030c0\n      A\n"}},
         true,
         "A is listed twice in this view (first on line 15)",
         "      A\n"},
        // A shape too small to press.
        {{{"      B #3030c0\n", "      B #3030c0\n      speck as S\n"}},
         false,
         "speck is only 2 x 2 points",
         "speck as S"},
        // A drawing that is no SVG, a silhouette it lacks, a "like" of an alias: on the author's lines.
        {{{"sketch.svg", "broken.svg"}}, true, "the artwork must be an SVG file", "artwork art"},
        {{{"silhouette outline", "silhouette outlines"}},
         true,
         "the silhouette outlines is no element of the artwork \"art\" (did you mean outline",
         "silhouette"},
        {{{"  view Posterior\n    like Anterior\n",
           "  view Front -> Anterior\n  view Posterior\n    like Front\n"}},
         true,
         "\"like Front\": \"Front\" is an alias",
         "like Front"},
        // Consequences: no swipe reaches "Posterior"; a quiz area without regions inside has no questions.
        {{}, false, "\"Posterior\" cannot be reached by swiping", "region Whole"},
        {{},
         false,
         "the quiz area \"Part\" offers 0 questions, and a quiz needs 12: the quiz asks only about",
         "region Part"},
        // Text that the program cuts.
        {{{"latin Alpha latina", "latin Musculus flexor digitorum superficialis caput humeroulnare"}},
         false,
         "points wide in the flag's bubble, which has room for 267: it is cut off; shorten the Latin name",
         "structure A"},
        {{{"region Part", "region The deep and superficial muscles of the forearm"}},
         false,
         "in the header beside the back button",
         "region The deep"},
    };
    for (const Slip& slip : slips) {
        std::string text = sketchAtlas;
        for (const auto& [from, to] : slip.edits)
            text = replaced(text, from, to);
        Outcome outcome = build(text);
        ASSERT_EQ(outcome.error.has_value(), slip.stopsTheBuild)
            << slip.phrase << (outcome.error ? outcome.error->what() : "");
        int expectedLine = lineOf(text, slip.at);
        if (outcome.error) {
            EXPECT_NE(std::string(outcome.error->what()).find(slip.phrase), std::string::npos)
                << outcome.error->what();
            EXPECT_EQ(outcome.error->line(), expectedLine) << slip.phrase;
            continue;
        }
        auto found = std::ranges::find_if(outcome.warnings, [&](const AuthoringWarning& warning) {
            return warning.message.find(slip.phrase) != std::string::npos;
        });
        std::string all;
        for (const AuthoringWarning& warning : outcome.warnings)
            all += "\n" + std::to_string(warning.line) + ": " + warning.message;
        ASSERT_NE(found, outcome.warnings.end()) << slip.phrase << all;
        EXPECT_EQ(found->line, expectedLine) << found->message;
    }
}

TEST_F(AuthoringMistakes, AMirroredCopyMirrorsItsHandPlacedFlags) {
    Outcome outcome = build(sketchAtlas);
    ASSERT_FALSE(outcome.error) << outcome.error->what();
    EXPECT_DOUBLE_EQ(outcome.built.top.views[0].points[0].x, 100 * 1.5);
    const auto& back = outcome.built.top.views[1].points;
    EXPECT_TRUE(std::ranges::any_of(back, [](const BuiltPoint& point) { return point.x == 220 * 1.5; }));
}

TEST_F(AuthoringMistakes, AnUnfilledOutlineStaysALineAroundTheBodysColour) {
    ASSERT_FALSE(build(sketchAtlas).error);
    cairo_surface_t* picture =
        cairo_image_surface_create_from_png((folder / "bundle/atlas/Whole/Anterior@2x.png").c_str());
    // Units (15, 80) lie inside the outline and outside every shape: 6.4 pixels a unit, 15.625 units down.
    const auto* pixel =
        cairo_image_surface_get_data(picture) + 612 * cairo_image_surface_get_stride(picture) + 96 * 4;
    EXPECT_NEAR(pixel[2], 0.945 * 255, 2); // the default body colour's red, not the lines' grey
    cairo_surface_destroy(picture);
}

TEST_F(AuthoringMistakes, TheShapeListShowsEveryIdWithItsLabelAndSize) {
    Artwork artwork(folder / "sketch.svg");
    auto shapes = artwork.namedShapes();
    auto a = std::ranges::find(shapes, std::string("A"), &Artwork::Shape::id);
    ASSERT_NE(a, shapes.end());
    EXPECT_EQ(a->label, "Alpha organ");
    EXPECT_NEAR(artwork.geometry("A").width, 20, 0.01);
    EXPECT_EQ(std::ranges::count(shapes, std::string("layer1"), &Artwork::Shape::id), 1);
    EXPECT_EQ(artwork.nearestIds("specks", 1), std::vector<std::string>{"speck"});
}

TEST_F(AuthoringMistakes, TheProofSheetIsAPdfPageForTheWarningsAndOneForEachView) {
    Outcome outcome = build(sketchAtlas);
    ASSERT_TRUE(writeContactSheet(outcome.built, folder / "bundle", folder / "proof.pdf", {"a warning"}));
    std::ifstream in(folder / "proof.pdf", std::ios::binary);
    std::string pdf((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_TRUE(pdf.starts_with("%PDF"));
    auto count = pdf.find("/Count ");
    ASSERT_NE(count, std::string::npos);
    int pages = std::stoi(pdf.substr(count + 7));
    EXPECT_EQ(pages, 1 + 3); // Whole's Anterior and Posterior, Part's Anterior
}

TEST_F(AuthoringMistakes, TheToolNamesFileAndLineOfEachWarningAndStrictMakesThemErrors) {
    std::ofstream(folder / "test.atlas") << sketchAtlas;
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

} // namespace
