#include "Platform/Options.h"

#include "Platform/Script.h"

#include <charconv>
#include <cmath>
#include <string_view>

namespace ui {

namespace {

constexpr Float largestScale = 8;

std::optional<Float> parseScale(std::string_view text) {
    Float value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !(value > 0) || value > largestScale)
        return std::nullopt;
    return value;
}

} // namespace

std::optional<Options> Options::parse(int argc, const char* const* argv, std::string& error) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        std::string_view option = argv[i];
        auto value = [&]() -> std::optional<std::string> {
            if (i + 1 >= argc) {
                error = std::string(option) + " needs a value";
                return std::nullopt;
            }
            return std::string(argv[++i]);
        };
        if (option == "--headless") {
            options.headless = true;
        } else if (option == "--help" || option == "-h") {
            options.help = true;
        } else if (option == "--bundle" || option == "--home" || option == "--script" ||
                   option == "--scale") {
            auto text = value();
            if (!text)
                return std::nullopt;
            if (option == "--bundle")
                options.bundle = *text;
            else if (option == "--home")
                options.home = *text;
            else if (option == "--script")
                options.script = *text;
            else if (auto scale = parseScale(*text))
                options.scale = *scale;
            else {
                error = "--scale needs a number above 0 and at most 8, not \"" + *text + "\"";
                return std::nullopt;
            }
        } else {
            error = "unknown option \"" + std::string(option) + "\"";
            return std::nullopt;
        }
    }
    return options;
}

std::string Options::usage(const std::string& program) {
    return "Usage: " + program +
           " [--headless] [--bundle DIR] [--home DIR] [--script FILE|-] [--scale N]\n"
           "\n"
           "  --headless        run without a window, on a virtual clock that only the script moves\n"
           "  --bundle DIR      read the program's resources from DIR\n"
           "  --home DIR        keep documents and caches below DIR (default $XDG_DATA_HOME/torvex)\n"
           "  --script FILE|-   carry out the commands in FILE (- reads standard input), then exit\n"
           "  --scale N         pixels per point of the window and of screenshots (default: headless 2,\n"
           "                    a window the largest of 1, 1.5, 2 ... that fits the display)\n"
           "  --help            show this text\n"
           "\n"
           "A window run needs a display; on a machine without one use --headless, or xvfb-run -a.\n"
           "\n"
           "Script commands, one per line:\n" +
           std::string(Script::help());
}

} // namespace ui
