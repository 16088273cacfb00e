#include "Platform/RunMain.h"

#include "Platform/Bundle.h"
#include "Platform/Driver.h"
#include "Platform/Image.h"
#include "Platform/Options.h"
#include "Platform/Paths.h"
#include "Platform/Script.h"
#include "Platform/TextLayoutCache.h"
#include "Platform/WindowRun.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>

namespace ui {

namespace {

std::string programName(const char* argv0) {
    std::string name = argv0 ? std::filesystem::path(argv0).filename().string() : "";
    return name.empty() ? "program" : name;
}

bool hasDisplay() {
    auto set = [](const char* name) { return std::getenv(name) && *std::getenv(name); };
    return set("DISPLAY") || set("WAYLAND_DISPLAY");
}

void reportNoWindow(const std::string& program, const std::string& why) {
    std::cerr << program << ": cannot open a window (" << why << ").\n"
              << "Run it with --headless, or give it a virtual display: xvfb-run -a " << program << "\n";
}

// Runs the script from `source`, or returns nullopt when it cannot be read.
std::optional<int> runScript(const std::string& source, Driver& driver) {
    if (source == "-")
        return Script::run(std::cin, driver, std::cout, std::cerr);
    std::ifstream file(source);
    if (!file)
        return std::nullopt;
    return Script::run(file, driver, std::cout, std::cerr);
}

// The largest picture that reads is the icon: the desktop scales it down itself.
void showIcon(SdlWindow& window, const std::vector<std::string>& files) {
    std::vector<Image> icons;
    for (const auto& file : files) {
        if (Image icon = Image::fromFile(file); !icon.empty())
            icons.push_back(std::move(icon));
    }
    std::sort(icons.begin(), icons.end(),
              [](const Image& a, const Image& b) { return a.pixelSize().width > b.pixelSize().width; });
    std::vector<cairo_surface_t*> surfaces;
    for (const auto& icon : icons)
        surfaces.push_back(icon.surface());
    window.setIcons(surfaces);
}

// A window closed in full screen keeps the size it had before.
void keepWindowSize(WindowRun& run, const ProgramHooks& hooks) {
    if (hooks.keepWindowSize && !run.window().isFullScreen())
        hooks.keepWindowSize(run.window().windowSize());
}

int exitStatus(int scriptStatus) {
    auto& app = Application::shared();
    return scriptStatus == 0 && app.quitRequested() ? app.exitStatus() : scriptStatus;
}

} // namespace

int runMain(int argc, char** argv, const std::function<void(Application&)>& setup,
            const ProgramHooks& hooks) {
    std::string program = programName(argc > 0 ? argv[0] : nullptr);
    std::string error;
    auto options = Options::parse(argc, argv, error);
    if (!options) {
        std::cerr << program << ": " << error << "\n" << Options::usage(program);
        return 2;
    }
    if (options->help) {
        std::cout << Options::usage(program) << (hooks.help.empty() ? "" : "\n") << hooks.help;
        return 0;
    }
    if (options->bundle) {
        if (!std::filesystem::is_directory(*options->bundle)) {
            std::cerr << program << ": no bundle folder \"" << *options->bundle << "\"\n";
            return 2;
        }
        Bundle::main().setResourcePath(*options->bundle);
    }
    if (options->home)
        Paths::setHome(*options->home);
    if (options->script && *options->script != "-" && !std::filesystem::is_regular_file(*options->script)) {
        std::cerr << program << ": cannot read the script \"" << *options->script << "\"\n";
        return 2;
    }
    if (!options->headless && !hasDisplay()) {
        reportNoWindow(program, "no display: DISPLAY is not set");
        return 1;
    }

    // Pango looks for the installed fonts on a thread of its own once its font map exists: made now,
    // the search runs while the window opens and the first screen decodes its pictures.
    TextLayoutCache::shared();
    Driver::resetToolkit(options->scale.value_or(2));
    auto& app = Application::shared();
    app.setHeadless(options->headless);
    Driver driver;
    std::unique_ptr<WindowRun> window;
    if (!options->headless) {
        WindowSizing sizing{options->scale, hooks.lastWindowSize ? hooks.lastWindowSize() : std::nullopt};
        window = WindowRun::open(hooks.title.empty() ? program : hooks.title, sizing, error);
        if (!window) {
            reportNoWindow(program, error);
            return 1;
        }
        showIcon(window->window(), hooks.iconFiles);
        driver.setClockAdvancer([&window](Float seconds) { window->runFor(seconds); });
    }

    setup(app);
    if (options->script) {
        auto status = runScript(*options->script, driver);
        if (window)
            keepWindowSize(*window, hooks);
        if (!status) {
            std::cerr << program << ": cannot read the script \"" << *options->script << "\"\n";
            return 2;
        }
        return exitStatus(*status);
    }
    if (window) {
        window->run();
        keepWindowSize(*window, hooks);
    } else {
        driver.advance(0);
    }
    return exitStatus(0);
}

} // namespace ui
