// The program as a user starts it: a headless run from start screen to viewer, and the installed
// layout, where the program finds its bundle beside itself.

#include "Classes/StartupError.h"
#include "ShellTest.h"
#include "tests/support/CommandRun.h"

namespace {

namespace fs = std::filesystem;

class ProgramTest : public ShellTest {
protected:
    // The program run headless on the test bundle, reading the script `lines` ("wait 1\\nstate") from stdin.
    std::string headless(const std::string& lines) {
        return "printf '" + lines + "\\n' | " + TORVEX_BINARY + " --headless --script - --bundle " +
               bundleDirectory() + " --home " + home.string();
    }
};

// The start screen and the flip are checked in this process (StartScreenTest); here, that --offline
// holds (the test bundle's addresses name this test's server).
TEST_F(ProgramTest, aDeepLinkSkipsTheStartScreenAndRunsTheJourneyToItsTermOfflineOrExitsTwoWithCloseTerms) {
    for (const char* link :
         {"--go biceps", "--go 'Musculus deltoideus'", "torvex:Bicep", "torvex://Cubital%20fossa"}) {
        CommandRun run = runCommand(headless("wait 8\\nstate") + " --offline " + link + " 2>/dev/null");
        ASSERT_EQ(run.status, 0) << link;
        auto lines = jsonLines(run.output);
        ASSERT_EQ(lines.size(), 1u) << link;
        EXPECT_EQ(lines[0]["internet"], false) << link;
        EXPECT_EQ(lines[0]["startScreenShown"], false) << link;
        EXPECT_EQ(lines[0]["interaction"], true) << link;
        EXPECT_GE(lines[0]["viewHint"], 0) << link << ": the term's bubble is open";
    }
    EXPECT_EQ(requests(), 0);
    CommandRun unknown = runCommand(headless("wait 8\\nstate") + " --go Bicpes 2>&1");
    EXPECT_EQ(unknown.status, 2);
    EXPECT_NE(unknown.output.find("no index term matches \"Bicpes\"; close terms: Biceps"), std::string::npos)
        << unknown.output;
    EXPECT_EQ(runCommand(headless("") + " --go 2>/dev/null").status, 2);
}

TEST_F(ProgramTest, aDataFileThatCannotBeReadOrParsedStopsTheRunWithStatusOneNamingFileAndReason) {
    fs::path broken = home / "broken";
    writeFile(broken / "torvex.xml", "<torvex><regions><part header=\"Arm\">");
    fs::path empty = home / "empty";
    fs::create_directories(empty);
    std::string program = std::string(TORVEX_BINARY) + " --home " + home.string();
    for (const auto& [bundle, reason] : {std::pair{empty, std::string("No such file or directory")},
                                         std::pair{broken, std::string("line 1, column ")}}) {
        std::string expected =
            "The atlas data file " + (bundle / "torvex.xml").string() + " could not be read: " + reason;
        CommandRun run = runCommand("printf 'wait 3\\nstate\\n' | " + program +
                                    " --headless --script - --bundle " + bundle.string() + " 2>&1");
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.output.find(expected), std::string::npos) << run.output;
        CommandRun summary = runCommand(program + " --summary --bundle " + bundle.string() + " 2>&1");
        EXPECT_EQ(summary.status, 1);
        EXPECT_NE(summary.output.find(expected), std::string::npos) << summary.output;
    }
}

TEST_F(ProgramTest, inAWindowTheFaultIsAnAlertWhoseQuitEndsWithStatusOne) {
    auto& app = ui::Application::shared();
    app.setHeadless(false);
    testing::internal::CaptureStderr();
    StartupError::report("The atlas data file x could not be read: gone");
    testing::internal::GetCapturedStderr();
    ui::Json alert = app.state()["alert"];
    EXPECT_EQ(alert["message"], "The atlas data file x could not be read: gone");
    EXPECT_EQ(alert["buttons"], ui::Json::array({"Quit"}));
    EXPECT_FALSE(app.quitRequested());
    ASSERT_TRUE(app.modalAlert()->pressButton("Quit"));
    EXPECT_TRUE(app.quitRequested());
    EXPECT_EQ(app.exitStatus(), 1);
}

TEST_F(ProgramTest, anInstalledProgramFindsItsBundleBesideItselfAndStopsClearlyWithoutOne) {
    fs::path prefix = home / "prefix";
    fs::create_directories(prefix / "bin");
    fs::create_directories(prefix / "share");
    fs::copy_file(TORVEX_BINARY, prefix / "bin/torvex");
    fs::create_directory_symlink(bundleDirectory(), prefix / "share/torvex");
    std::string torvex = (prefix / "bin/torvex").string();

    CommandRun run = runCommand(torvex + " --summary 2>/dev/null");
    ASSERT_EQ(run.status, 0);
    EXPECT_EQ(run.output.rfind("Upper Limb", 0), 0u) << run.output;

    // Neither installed beside it nor in a build tree: the build machine's bundle is not a fallback.
    fs::remove(prefix / "share/torvex");
    for (const char* arguments : {" --summary", " --headless --script -"}) {
        CommandRun missing = runCommand(torvex + arguments + " </dev/null 2>&1");
        EXPECT_EQ(missing.status, 1) << arguments;
        EXPECT_NE(missing.output.find("cannot find the atlas's bundle"), std::string::npos) << missing.output;
        EXPECT_NE(missing.output.find((fs::canonical(prefix) / "share/torvex").string()), std::string::npos)
            << missing.output;
    }
    CommandRun help = runCommand(torvex + " --help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.output.find("--version"), std::string::npos) << help.output;
}

} // namespace
