#include "ToolkitTest.h"

#include "Platform/Options.h"
#include "Platform/RunMain.h"
#include "tests/support/TemporaryFolder.h"

using namespace ui;

namespace {

class RunMainTest : public ToolkitTest {
protected:
    // Runs headless (or in a window) with `script`; returns the exit status, with what was printed in
    // `out` and `err`.
    int runProgram(const std::string& script, std::vector<std::string> extra = {}, bool headless = true) {
        TemporaryFolder folder;
        std::string path = folder / "script.txt";
        writeFile(path, script);
        std::vector<std::string> arguments{"program", "--script", path};
        if (headless)
            arguments.insert(arguments.begin() + 1, "--headless");
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        std::vector<char*> argv;
        for (auto& argument : arguments)
            argv.push_back(argument.data());
        argv.push_back(nullptr);
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        int status = runMain(static_cast<int>(arguments.size()), argv.data(), setup);
        out = testing::internal::GetCapturedStdout();
        err = testing::internal::GetCapturedStderr();
        return status;
    }

    std::function<void(Application&)> setup = [](Application&) {};
    std::string out, err;
};

// With no display set, or one that is not there, the run ends before any set-up, naming the ways out.
TEST_F(RunMainTest, AWindowThatCannotOpenEndsTheRunWithStatusOneAndSaysWhy) {
    const char* display = std::getenv("DISPLAY");
    std::string saved = display ? display : "";
    bool setupRan = false;
    setup = [&](Application&) { setupRan = true; };
    ::unsetenv("WAYLAND_DISPLAY");
    for (const char* unreachable : {"", ":9999"}) {
        ::setenv("DISPLAY", unreachable, 1);
        EXPECT_EQ(runProgram("wait 0.1\n", {}, false), 1) << unreachable;
        for (const char* named : {"cannot open a window", "--headless", "xvfb-run"})
            EXPECT_NE(err.find(named), std::string::npos) << err;
    }
    display ? ::setenv("DISPLAY", saved.c_str(), 1) : ::unsetenv("DISPLAY");
    EXPECT_FALSE(setupRan);
}

TEST_F(RunMainTest, AFailingScriptLineEndsTheRunWithStatusOneAndBadOptionsWithTwoAndTheUsage) {
    EXPECT_EQ(runProgram("wait 1\npress Leave\n"), 1);
    EXPECT_NE(err.find("script line 2 \"press Leave\""), std::string::npos) << err;
    EXPECT_EQ(runProgram("", {"--scale", "0"}), 2);
    EXPECT_NE(err.find("--scale"), std::string::npos) << err;
    EXPECT_EQ(runProgram("", {"--scale", "2x"}), 2);
    EXPECT_EQ(runProgram("", {"--frobnicate"}), 2);
    EXPECT_EQ(runProgram("", {"--bundle", "/nonexistent/bundle"}), 2);
}

TEST_F(RunMainTest, OptionsAreReadWithTheirValues) {
    const char* argv[] = {"program", "--headless", "--bundle", "b",       "--home",
                          "h",       "--script",   "-",        "--scale", "1.5"};
    std::string error;
    auto options = Options::parse(10, argv, error);
    ASSERT_TRUE(options) << error;
    EXPECT_TRUE(options->headless);
    EXPECT_EQ(options->bundle, "b");
    EXPECT_EQ(options->home, "h");
    EXPECT_EQ(options->script, "-");
    EXPECT_EQ(options->scale, 1.5);
    const char* missing[] = {"program", "--script"};
    EXPECT_FALSE(Options::parse(2, missing, error));
    EXPECT_NE(error.find("needs a value"), std::string::npos);
}

} // namespace
