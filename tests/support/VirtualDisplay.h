#pragma once
// The real window under a virtual X display: a test starts its own test program again as a child
// under xvfb-run, running just the test that opens the window, so that the display and SDL never
// touch the other tests. The child test knows itself by `insideVirtualDisplay` in its environment.
// Header-only, so that every test group may use it.
//
//     TEST(Window, ChildClicksTheButton) {
//         if (!std::getenv(insideVirtualDisplay))
//             GTEST_SKIP() << "runs only under the virtual display";
//         ...
//     }
//     TEST(Window, AClickRunsTheAction) {
//         if (std::string why = whyNoVirtualDisplay(); !why.empty())
//             GTEST_SKIP() << why;
//         CommandRun child = runTestUnderVirtualDisplay("Window.ChildClicksTheButton");
//         EXPECT_EQ(child.status, 0) << child.output;
//     }

#include "tests/support/CommandRun.h"

#include <filesystem>
#include <string>

inline constexpr const char* insideVirtualDisplay = "TORVEX_TEST_UNDER_XVFB";

// Empty when xvfb-run, Xvfb and xdotool are there; otherwise what is missing.
inline std::string whyNoVirtualDisplay() {
    for (const char* program : {"xvfb-run", "Xvfb", "xdotool"})
        if (runCommand(std::string("command -v ") + program + " >/dev/null").status != 0)
            return std::string("the window tests need ") + program;
    return "";
}

// Runs `test` ("Suite.Name") of this test program under a virtual display: the child's exit status and
// all it printed.
inline CommandRun runTestUnderVirtualDisplay(const std::string& test) {
    return runCommand(std::string(insideVirtualDisplay) + "=1 xvfb-run -a -s '-screen 0 1024x1280x24' '" +
                      std::filesystem::read_symlink("/proc/self/exe").string() + "' --gtest_filter=" + test +
                      " 2>&1");
}
