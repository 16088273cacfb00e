#pragma once
// The atlas tests' texts and how they edit them: a drawing small enough to work out by hand, as a
// drawing program saves it (ids and labels, no titles, the body's outline an unfilled stroke), the
// authoring file that makes an atlas of it, and a fixture that builds edited copies in a folder.

#include "AtlasBuilder.h"
#include "AtlasReader.h"

#include <gtest/gtest.h>

#include "tests/support/TemporaryFolder.h"

#include <optional>

// Square A and tall rectangle B inside the outline, and a speck too small to press.
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

// A's flag placed by hand, B's where the generator puts it; the back a mirrored copy of the front;
// comments, and colours that look like them.
constexpr char sketchAtlas[] = R"(atlas Test
  artwork art sketch.svg
    silhouette outline
# The structures, then the regions: comments go on lines of their own or after a statement.
structure A Alpha
  latin Alpha latina
structure B Beta
structure S Speck

region Whole  # the figure
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

// `text` with the first `from` replaced by `to`; fails the test when there is no `from`.
inline std::string replaced(std::string text, const std::string& from, const std::string& to) {
    auto at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos)
        text.replace(at, from.size(), to);
    return text;
}

// The line (from 1) on which `marker` first stands in `text`.
inline int lineOf(const std::string& text, const std::string& marker) {
    auto at = text.find(marker);
    EXPECT_NE(at, std::string::npos) << marker;
    return 1 +
           int(std::count(text.begin(), text.begin() + static_cast<long>(std::min(at, text.size())), '\n'));
}

struct Outcome {
    std::optional<atlas::AuthoringError> error;
    std::vector<atlas::AuthoringWarning> warnings;
    atlas::BuiltAtlas built;
};

class Authoring : public ::testing::Test {
protected:
    void SetUp() override { writeDrawings(folder); }

    // Reads and builds TEXT into the folder's bundle as the generator does.
    Outcome build(const std::string& text) { return buildIn(folder, text); }
    // The sketch as written, built once a run into a bundle of its own (`sketchBundle()`): building is
    // most of these tests' time.
    static const Outcome& sketchBuilt() {
        static const Outcome outcome = [] {
            writeDrawings(sketchFolder().path());
            return buildIn(sketchFolder().path(), sketchAtlas);
        }();
        return outcome;
    }
    static std::filesystem::path sketchBundle() { return sketchFolder().path() / "bundle"; }

    TemporaryFolder temporary;
    std::filesystem::path folder = temporary.path();

private:
    static void writeDrawings(const std::filesystem::path& where) {
        writeFile(where / "sketch.svg", sketch);
        writeFile(where / "broken.svg", "<svg xmlns=\"http://www.w3.org/2000/svg\"><rect");
    }
    static Outcome buildIn(const std::filesystem::path& where, const std::string& text) {
        Outcome outcome;
        try {
            atlas::AtlasSource atlas = atlas::readAtlasText(text, where / "test.atlas");
            atlas::AtlasBuilder builder(atlas, where / "bundle");
            outcome.built = builder.build();
            outcome.warnings = builder.warnings();
        } catch (const atlas::AuthoringError& error) {
            outcome.error = error;
        }
        return outcome;
    }
    static TemporaryFolder& sketchFolder() {
        static TemporaryFolder shared;
        return shared;
    }
};
