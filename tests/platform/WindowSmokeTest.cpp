// Opens the real window under a virtual X display, clicks a button in it with xdotool and checks
// that the button's action ran. The run happens in a child copy of this test program started by
// xvfb-run, so that the display and SDL never touch the other tests.

#include "Platform/Button.h"
#include "Platform/RunMain.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

constexpr const char* childVariable = "TOOLKIT_WINDOW_SMOKE_CHILD";
constexpr const char* windowTitle = "toolkit-smoke-window";
constexpr int clickedStatus = 7;

bool onPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::string folders = path ? path : "";
    for (std::size_t start = 0; start <= folders.size();) {
        auto end = folders.find(':', start);
        auto folder = folders.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!folder.empty() && std::filesystem::exists(std::filesystem::path(folder) / program))
            return true;
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return false;
}

// Starts a program with an argument vector; returns its pid, or -1.
pid_t spawn(std::vector<std::string> arguments) {
    std::vector<char*> argv;
    for (auto& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    return posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) == 0 ? pid : -1;
}

int waitFor(pid_t pid) {
    int status = 0;
    if (waitpid(pid, &status, 0) != pid)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The demo screen: one button that ends the run with a status the parent recognises.
void demoSetup(ui::Application& app) {
    auto button = ui::make<ui::Button>(ui::ButtonType::RoundedRect, ui::Rect{60, 200, 200, 80});
    button->setTitle("Quit");
    button->addAction([&app](ui::Button*) { app.quit(clickedStatus); });
    app.window()->addSubview(button);
}

TEST(WindowSmoke, ChildRunsTheWindowUntilTheButtonIsClicked) {
    if (!std::getenv(childVariable))
        GTEST_SKIP() << "runs only inside the window smoke test";
    auto script =
        std::filesystem::temp_directory_path() / ("toolkit-smoke-" + std::to_string(getpid()) + ".txt");
    std::ofstream(script) << "wait 20\n";
    // Clicks more than once: the first click may come before the window takes input.
    pid_t clicker =
        spawn({"xdotool", "search", "--sync", "--name", std::string("^") + windowTitle + "$", "mousemove",
               "--window", "%1", "160", "240", "click", "--repeat", "5", "--delay", "300", "1"});
    std::string title = windowTitle, scriptOption = "--script", scriptPath = script.string(),
                scale = "--scale", one = "1";
    char* argv[] = {title.data(), scriptOption.data(), scriptPath.data(), scale.data(), one.data(), nullptr};
    int status = ui::runMain(5, argv, demoSetup);
    if (clicker > 0)
        waitFor(clicker);
    std::filesystem::remove(script);
    std::_Exit(status);
}

TEST(WindowSmoke, AClickOnAButtonInTheRealWindowRunsItsAction) {
    if (!onPath("xvfb-run") || !onPath("Xvfb") || !onPath("xdotool"))
        GTEST_SKIP() << "needs xvfb-run, Xvfb and xdotool";
    setenv(childVariable, "1", 1);
    pid_t child = spawn({"xvfb-run", "-a", "-s", "-screen 0 1024x1280x24",
                         std::filesystem::read_symlink("/proc/self/exe").string(),
                         "--gtest_filter=WindowSmoke.ChildRunsTheWindowUntilTheButtonIsClicked"});
    unsetenv(childVariable);
    ASSERT_GT(child, 0);
    EXPECT_EQ(waitFor(child), clickedStatus);
}

TEST(WindowSmoke, AWindowRunWithoutADisplayFailsAtOnceNamingTheWayOut) {
    std::string display = std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "";
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    std::string name = "toolkit", flag = "--scale", two = "2";
    char* argv[] = {name.data(), flag.data(), two.data(), nullptr};
    testing::internal::CaptureStderr();
    bool setupRan = false;
    int status = ui::runMain(3, argv, [&](ui::Application&) { setupRan = true; });
    std::string message = testing::internal::GetCapturedStderr();
    if (!display.empty())
        setenv("DISPLAY", display.c_str(), 1);
    EXPECT_EQ(status, 1);
    EXPECT_FALSE(setupRan);
    EXPECT_NE(message.find("--headless"), std::string::npos) << message;
    EXPECT_NE(message.find("xvfb-run"), std::string::npos) << message;
}

} // namespace
