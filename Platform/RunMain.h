#pragma once
// The program's entry into the toolkit (UIApplicationMain):
//
//     int main(int argc, char** argv) {
//         return ui::runMain(argc, argv, [](ui::Application& app) { buildFirstScreen(app); });
//     }
//
// Reads the toolkit options (see Options.h and --help), applies --bundle and --home, calls `setup` to
// build the first screen and then runs: headless, the script on the virtual clock (or only what falls
// due at time 0 when there is no script); in a window, the window until it is closed, or the script
// with its waits in real time. A window run without a display fails at once with a message that
// names --headless and xvfb-run. Returns the exit status: 0, 1 when a script line failed or no window
// could be opened, 2 for bad options; a program that calls Application::quit(status) ends with that.

#include "Platform/Application.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace ui {

// What a program adds to the toolkit's run.
struct ProgramHooks {
    std::string help;                   // added to the end of --help (the program's own keys and options)
    std::string title;                  // the window's title and X11 class (default: the program's file name)
    std::vector<std::string> iconFiles; // PNG pictures of the window's icon, any sizes
    // The window's size (window coordinates) when it was last closed, and where to keep it when the
    // window closes out of full screen; either may be empty.
    std::function<std::optional<Size>()> lastWindowSize;
    std::function<void(Size)> keepWindowSize;
};

int runMain(int argc, char** argv, const std::function<void(Application&)>& setup,
            const ProgramHooks& hooks = {});

} // namespace ui
