// torvex-check on small hand-made bundles: a sound one passes without a word, and each problem the
// validator knows is found and reported on the line of the element concerned.

#include "BundleCheck.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <unistd.h>

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

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    auto at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos)
        text.replace(at, from.size(), to);
    return text;
}

int lineOf(const std::string& text, const std::string& marker) {
    auto at = text.find(marker);
    EXPECT_NE(at, std::string::npos) << marker;
    return 1 + int(std::count(text.begin(), text.begin() + at, '\n'));
}

class HandMadeBundle : public ::testing::Test {
protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() /
                 ("torvex-check-" + std::to_string(getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(folder);
        for (const std::string& picture : pictures)
            writePicture(folder / (picture + "@2x.png"));
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    static void writePicture(const std::filesystem::path& file) {
        std::filesystem::create_directories(file.parent_path());
        cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 4, 4);
        cairo_surface_write_to_png(surface, file.c_str());
        cairo_surface_destroy(surface);
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

    int errors(const std::vector<check::Finding>& findings) {
        return int(std::ranges::count(findings, check::Severity::Error, &check::Finding::severity));
    }

    std::filesystem::path folder;
};

TEST_F(HandMadeBundle, ASoundBundlePassesWithoutAWord) {
    for (const check::Finding& finding : check(soundDataFile()))
        ADD_FAILURE() << finding.line << ": " << finding.message;
}

TEST_F(HandMadeBundle, ARegionWithoutAnAnteriorViewIsAnError) {
    std::string xml = replaced(soundDataFile(), R"(<view header="Anterior" src="a/Heart)",
                               R"(<view header="Front" src="a/Heart)");
    EXPECT_EQ(only(check(xml), check::Severity::Error, "no \"Anterior\" view").line,
              lineOf(xml, R"(<part header="Heart">)"));
}

TEST_F(HandMadeBundle, AliasesThatLoopOrLeadNowhereAreErrors) {
    std::string looping = replaced(soundDataFile(), R"(realheader="Anterior")", R"(realheader="Posterior")");
    EXPECT_EQ(only(check(looping), check::Severity::Error, "loop").line, lineOf(looping, "realheader="));
    std::string nowhere = replaced(soundDataFile(), R"(realheader="Anterior")", R"(realheader="Lateral")");
    EXPECT_EQ(only(check(nowhere), check::Severity::Error, "names no view").line,
              lineOf(nowhere, "realheader="));
}

TEST_F(HandMadeBundle, PointsNeedAnInfoidWithAnEntry) {
    std::string missing = replaced(soundDataFile(), R"(infoid="Label S2")", "");
    EXPECT_EQ(only(check(missing), check::Severity::Error, "without \"infoid\"").line,
              lineOf(missing, R"(<point x="10" y="100" />)"));
    std::string unknown = replaced(soundDataFile(), R"(infoid="Label S2")", R"(infoid="Label Nowhere")");
    EXPECT_EQ(only(check(unknown), check::Severity::Error, "has no information entry").line,
              lineOf(unknown, "Label Nowhere"));
}

TEST_F(HandMadeBundle, AnInfoIdWithoutEntryIsAnError) {
    std::string xml = replaced(soundDataFile(), R"(<info id="Label Chest"/>)", R"(<info id="Label Lost"/>)");
    EXPECT_EQ(only(check(xml), check::Severity::Error, "Label Lost").line, lineOf(xml, "Label Lost"));
}

TEST_F(HandMadeBundle, AMissingPictureIsAnError) {
    std::filesystem::remove(folder / "a/Heart/Anterior Exp@2x.png");
    std::string xml = soundDataFile();
    EXPECT_EQ(only(check(xml), check::Severity::Error, "missing picture").line,
              lineOf(xml, R"(<view header="Anterior Exp")"));
}

TEST_F(HandMadeBundle, MoreThanTwentyHotspotsInOneViewIsAnError) {
    std::string many;
    for (int i = 0; i < 21; ++i)
        many +=
            "<part header=\"Part " + std::to_string(i) +
            R"("><views><view header="Anterior" src="a/Heart/Anterior.png"><points></points>)"
            R"(<hitarea x="0" y="0" width="9" height="9" sx="4" sy="4" sscale="50"/><info id="Label Heart"/>)"
            "</view></views><parts></parts></part>";
    std::string xml = replaced(soundDataFile(), "<parts></parts>", "<parts>" + many + "</parts>");
    EXPECT_EQ(only(check(xml), check::Severity::Error, "21 hotspots").line,
              lineOf(xml, R"(<part header="Heart">)"));
}

TEST_F(HandMadeBundle, DuplicateRegionHeadersAreAnError) {
    std::string xml = replaced(soundDataFile(), R"(<part header="Heart">)", R"(<part header="Chest">)");
    EXPECT_EQ(only(check(xml), check::Severity::Error, "duplicate region header").line,
              lineOf(xml, R"(<part header="Chest">
              <views>)"));
}

TEST_F(HandMadeBundle, TheInformationSectionMustHoldExactlyOneEntryList) {
    std::string xml =
        replaced(soundDataFile(), "  </information>", "    <entries></entries>\n  </information>");
    EXPECT_EQ(only(check(xml), check::Severity::Error, "exactly one entry list").line,
              lineOf(xml, "<information>"));
}

TEST_F(HandMadeBundle, AnInfoidWithoutLabelIsAWarning) {
    std::string xml = replaced(soundDataFile(), R"(infoid="Label S2")", R"(infoid="S2")");
    xml = replaced(xml, R"(<entry id="Label Body")",
                   R"(<entry id="S2" title="Raw" titlelatin="">A raw term.</entry>
      <entry id="Label Body")");
    std::vector<check::Finding> findings = check(xml);
    EXPECT_EQ(errors(findings), 0);
    EXPECT_EQ(only(findings, check::Severity::Warning, "no \"Label\"").line, lineOf(xml, R"(infoid="S2")"));
}

TEST_F(HandMadeBundle, AViewTheParentLacksIsAWarningUnlessItIsDerived) {
    const std::string exploded =
        R"(<view header="Anterior Exp" v="Anterior" src="a/Heart/Anterior Exp.png">)";
    std::string direct =
        replaced(soundDataFile(), exploded, R"(<view header="Superior" src="a/Heart/Anterior Exp.png">)");
    EXPECT_EQ(only(check(direct), check::Severity::Warning, "can be shown in \"Superior\"").line,
              lineOf(direct, R"(<view header="Superior")"));
    std::string throughAlias =
        replaced(soundDataFile(), exploded,
                 R"(<view header="Inferior" src="a/Heart/Anterior Exp.png"><points></points></view>
                <view header="Posterior" realheader="Inferior" src="a/Heart/Anterior Exp.png">)");
    EXPECT_EQ(only(check(throughAlias), check::Severity::Warning, "can be shown in \"Inferior\"").line,
              lineOf(throughAlias, R"(<view header="Inferior")"));
}

TEST_F(HandMadeBundle, ALateralAliasBesideAPosteriorViewIsAWarning) {
    std::string xml =
        replaced(soundDataFile(), R"(<view header="Posterior" realheader="Anterior")",
                 R"(<view header="Lateral" realheader="Anterior" src="a/Chest/Anterior.png"></view>
            <view header="Posterior" src="a/Chest/Anterior.png"></view>
            <view header="Superior" realheader="Anterior")");
    EXPECT_EQ(only(check(xml), check::Severity::Warning, "never arrives").line,
              lineOf(xml, R"(<view header="Lateral")"));
}

TEST_F(HandMadeBundle, AQuizAreaWithTooFewQuestionsIsAWarning) {
    std::string xml = replaced(soundDataFile(), R"(<point x="10" y="100" infoid="Label S12"/>)", "");
    EXPECT_EQ(only(check(xml), check::Severity::Warning, "offers 11 questions").line,
              lineOf(xml, R"(<part header="Chest">)"));
}

TEST_F(HandMadeBundle, AMalformedDataFileIsReportedWhereItBreaks) {
    std::string xml = replaced(soundDataFile(), "</entries>", "</entry>");
    EXPECT_EQ(only(check(xml), check::Severity::Error, "not well-formed").line,
              lineOf(xml, "</entry>\n  </information>"));
}

struct ToolRun {
    int status;
    std::string output;
};

ToolRun runCheck(const std::filesystem::path& bundle) {
    ToolRun run{-1, {}};
    FILE* pipe = popen((std::string(TORVEX_CHECK_BINARY) + " '" + bundle.string() + "' 2>&1").c_str(), "r");
    char buffer[4096];
    while (std::size_t length = std::fread(buffer, 1, sizeof buffer, pipe))
        run.output.append(buffer, length);
    run.status = pclose(pipe);
    return run;
}

TEST_F(HandMadeBundle, TheToolFailsOnErrorsOnlyAndNamesFileAndLine) {
    std::ofstream(folder / "torvex.xml") << soundDataFile();
    ToolRun sound = runCheck(folder);
    EXPECT_EQ(sound.status, 0) << sound.output;
    EXPECT_NE(sound.output.find("0 errors, 0 warnings"), std::string::npos) << sound.output;

    std::string xml = replaced(soundDataFile(), R"(<info id="Label Chest"/>)", R"(<info id="Label Lost"/>)");
    std::ofstream(folder / "torvex.xml", std::ios::trunc) << xml;
    ToolRun broken = runCheck(folder);
    EXPECT_NE(broken.status, 0);
    std::string where =
        (folder / "torvex.xml").string() + ":" + std::to_string(lineOf(xml, "Label Lost")) + ": error:";
    EXPECT_NE(broken.output.find(where), std::string::npos) << broken.output;
}

} // namespace
