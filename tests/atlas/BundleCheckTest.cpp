// torvex-check on small hand-made bundles: a sound one passes without a word, and each problem the
// validator knows is found and reported on the line of the element concerned.

#include "BundleCheck.h"
#include "AtlasTestText.h"

#include "tests/support/CommandRun.h"
#include "tests/support/PictureBytes.h"

namespace {

// A top region with two views, a sub-region that is the one quiz area, and below it a region with the
// twelve flags a quiz needs and an exploded view.
std::string soundDataFile() {
    std::string points, entries;
    for (int i = 1; i <= 12; ++i) {
        std::string n = std::to_string(i);
        points += "<point x=\"10\" y=\"100\" infoid=\"Label S" + n + "\"/>";
        entries += "      <entry id=\"Label S" + n + "\" title=\"Structure " + n +
                   "\" titlelatin=\"Structura " + n + "\">About it.</entry>\n";
    }
    return R"(<?xml version="1.0" encoding="UTF-8"?>
<torvex>
  <regions>
    <part header="Body">
      <views>
        <view header="Anterior" src="a/Body/Anterior.png">
          <points><point x="10" y="100" infoid="Label S1"/></points>
          <hitarea exist="true"/>
          <info id="Label Body"/>
        </view>
        <view header="Posterior" src="a/Body/Posterior.png">
          <points></points>
          <info id="Label Body"/>
        </view>
      </views>
      <parts>
        <part header="Chest">
          <views>
            <view header="Anterior" src="a/Chest/Anterior.png">
              <points><point x="10" y="100" infoid="Label S2"/></points>
              <hitarea x="0" y="0" width="90" height="90" sx="45" sy="45" sscale="100"/>
              <info id="Label Chest"/>
              <zoomout x="1" y="1" scale="50"/>
            </view>
            <view header="Posterior" realheader="Anterior" src="a/Chest/Anterior.png">
              <points></points>
              <info id="Label Chest"/>
            </view>
          </views>
          <parts>
            <part header="Heart">
              <views>
                <view header="Anterior" src="a/Heart/Anterior.png">
                  <points>)" +
           points + R"(</points>
                  <hitarea x="10" y="10" width="50" height="50" sx="35" sy="35" sscale="100"/>
                  <info id="Label Heart"/>
                  <zoomout x="1" y="1" scale="30"/>
                </view>
                <view header="Anterior Exp" v="Anterior" src="a/Heart/Anterior Exp.png">
                  <points></points>
                  <info id="Label Heart"/>
                </view>
              </views>
              <parts></parts>
            </part>
          </parts>
        </part>
      </parts>
    </part>
  </regions>
  <information>
    <entries>
      <entry id="Label Body" title="Body" titlelatin="Corpus">The body.</entry>
      <entry id="Label Chest" title="Chest" titlelatin="Thorax">The chest.</entry>
      <entry id="Label Heart" title="Heart region" titlelatin="">The heart.</entry>
)" + entries +
           R"(    </entries>
  </information>
</torvex>
)";
}

const std::vector<std::string> pictures = {"a/Body/Anterior", "a/Body/Posterior", "a/Chest/Anterior",
                                           "a/Heart/Anterior", "a/Heart/Anterior Exp"};

class HandMadeBundle : public ::testing::Test {
protected:
    void SetUp() override {
        for (const std::string& picture : pictures)
            writeFile(folder / (picture + "@2x.png"), testpictures::solidPng(4, 4, 0, 0, 0, 0));
    }

    std::vector<check::Finding> check(const std::string& xml) { return check::checkDataFile(xml, folder); }

    // The one finding of SEVERITY whose message holds PHRASE; fails unless there is exactly one.
    check::Finding only(const std::vector<check::Finding>& findings, check::Severity severity,
                        const std::string& phrase) {
        std::vector<check::Finding> matching;
        for (const check::Finding& finding : findings)
            if (finding.severity == severity && finding.message.find(phrase) != std::string::npos)
                matching.push_back(finding);
        EXPECT_EQ(matching.size(), 1u) << phrase;
        return matching.empty() ? check::Finding{severity, -1, ""} : matching.front();
    }

    TemporaryFolder temporary;
    std::filesystem::path folder = temporary.path();
};

TEST_F(HandMadeBundle, ASoundBundlePassesWithoutAWord) {
    for (const check::Finding& finding : check(soundDataFile()))
        ADD_FAILURE() << finding.line << ": " << finding.message;
}

// One edit of the sound data file and the one finding it must bring, on the line of `at`.
struct Mistake {
    const char* name;
    std::string from, to;
    check::Severity severity;
    std::string phrase, at;
};

const check::Severity error = check::Severity::Error, warning = check::Severity::Warning;
const std::string exploded = R"(<view header="Anterior Exp" v="Anterior" src="a/Heart/Anterior Exp.png">)";

// Heart's sub-regions: 21 with a hotspot in "Anterior", one more than a view may hold.
std::string twentyOneHotspots() {
    std::string parts;
    for (int i = 0; i < 21; ++i)
        parts +=
            "<part header=\"Part " + std::to_string(i) +
            R"("><views><view header="Anterior" src="a/Heart/Anterior.png"><points></points>)"
            R"(<hitarea x="0" y="0" width="9" height="9" sx="4" sy="4" sscale="50"/><info id="Label Heart"/>)"
            "</view></views><parts></parts></part>";
    return "<parts>" + parts + "</parts>";
}

const Mistake mistakes[] = {
    {"ARegionWithoutAnAnteriorView", R"(<view header="Anterior" src="a/Heart)",
     R"(<view header="Front" src="a/Heart)", error, "no \"Anterior\" view", R"(<part header="Heart">)"},
    {"AnAliasLoop", R"(realheader="Anterior")", R"(realheader="Posterior")", error, "loop", "realheader="},
    {"AnAliasToNowhere", R"(realheader="Anterior")", R"(realheader="Lateral")", error, "names no view",
     "realheader="},
    {"APointWithoutInfoid", R"(infoid="Label S2")", "", error, "without \"infoid\"",
     R"(<point x="10" y="100" />)"},
    {"APointWithoutEntry", R"(infoid="Label S2")", R"(infoid="Label Nowhere")", error,
     "has no information entry", "Label Nowhere"},
    {"AnInfoIdWithoutEntry", R"(<info id="Label Chest"/>)", R"(<info id="Label Lost"/>)", error, "Label Lost",
     "Label Lost"},
    {"DuplicateRegionHeaders", R"(<part header="Heart">)", R"(<part header="Chest">)", error,
     "duplicate region header", "<part header=\"Chest\">\n              <views>"},
    {"TwoEntryLists", "  </information>", "    <entries></entries>\n  </information>", error,
     "exactly one entry list", "<information>"},
    {"AMalformedDataFile", "</entries>", "</entry>", error, "not well-formed", "</entry>\n  </information>"},
    {"AViewTheParentLacks", exploded, R"(<view header="Superior" src="a/Heart/Anterior Exp.png">)", warning,
     "can be shown in \"Superior\"", R"(<view header="Superior")"},
    {"AViewTheParentLacksBehindAnAlias", exploded,
     R"(<view header="Inferior" src="a/Heart/Anterior Exp.png"><points></points></view>
                <view header="Posterior" realheader="Inferior" src="a/Heart/Anterior Exp.png">)",
     warning, "can be shown in \"Inferior\"", R"(<view header="Inferior")"},
    {"ALateralAliasBesideAPosteriorView", R"(<view header="Posterior" realheader="Anterior")",
     R"(<view header="Lateral" realheader="Anterior" src="a/Chest/Anterior.png"></view>
            <view header="Posterior" src="a/Chest/Anterior.png"></view>
            <view header="Superior" realheader="Anterior")",
     warning, "never arrives", R"(<view header="Lateral")"},
    {"AQuizAreaWithTooFewQuestions", R"(<point x="10" y="100" infoid="Label S12"/>)", "", warning,
     "offers 11 questions", R"(<part header="Chest">)"},
    {"ARegionNoRingReaches",
     R"(<hitarea x="10" y="10" width="50" height="50" sx="35" sy="35" sscale="100"/>)", "", warning,
     "only the index reaches it", R"(<part header="Heart">)"},
    {"AMissingPicture", "a/Heart/Anterior Exp.png", "a/Heart/Gone.png", error, "missing picture", "Gone.png"},
    {"MoreThanTwentyHotspotsInOneView", "<parts></parts>", twentyOneHotspots(), error, "21 hotspots",
     R"(<part header="Heart">)"},
    {"TwoEntriesWithOneTitle", R"(title="Structure 3")", R"(title="Structure 2")", warning,
     "is listed already", R"(title="Structure 2" titlelatin="Structura 3")"},
};

class DataFileMistake : public HandMadeBundle, public ::testing::WithParamInterface<Mistake> {};

TEST_P(DataFileMistake, IsFoundOnItsLine) {
    const Mistake& mistake = GetParam();
    std::string xml = replaced(soundDataFile(), mistake.from, mistake.to);
    EXPECT_EQ(only(check(xml), mistake.severity, mistake.phrase).line, lineOf(xml, mistake.at));
}

INSTANTIATE_TEST_SUITE_P(Each, DataFileMistake, ::testing::ValuesIn(mistakes),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(HandMadeBundle, AnInfoidWithoutLabelIsAWarning) {
    std::string xml = replaced(soundDataFile(), R"(infoid="Label S2")", R"(infoid="S2")");
    xml = replaced(xml, R"(<entry id="Label Body")",
                   R"(<entry id="S2" title="Raw" titlelatin="">A raw term.</entry>
      <entry id="Label Body")");
    std::vector<check::Finding> findings = check(xml);
    EXPECT_EQ(std::ranges::count(findings, check::Severity::Error, &check::Finding::severity), 0);
    EXPECT_EQ(only(findings, check::Severity::Warning, "no \"Label\"").line, lineOf(xml, R"(infoid="S2")"));
}

TEST_F(HandMadeBundle, TheToolFailsOnErrorsOnlyAndNamesFileAndLine) {
    auto runCheck = [](const auto& bundle) {
        return runCommand(std::string(TORVEX_CHECK_BINARY) + " '" + bundle.string() + "' 2>&1");
    };
    std::ofstream(folder / "torvex.xml") << soundDataFile();
    CommandRun sound = runCheck(folder);
    EXPECT_EQ(sound.status, 0) << sound.output;
    EXPECT_NE(sound.output.find("0 errors, 0 warnings"), std::string::npos) << sound.output;

    std::string xml = replaced(soundDataFile(), R"(<info id="Label Chest"/>)", R"(<info id="Label Lost"/>)");
    std::ofstream(folder / "torvex.xml", std::ios::trunc) << xml;
    CommandRun broken = runCheck(folder);
    EXPECT_NE(broken.status, 0);
    std::string where =
        (folder / "torvex.xml").string() + ":" + std::to_string(lineOf(xml, "Label Lost")) + ": error:";
    EXPECT_NE(broken.output.find(where), std::string::npos) << broken.output;
}

} // namespace
