#pragma once
// The toolkit's command-line options, shared by window and headless runs.

#include "Platform/Geometry.h"

#include <optional>
#include <string>

namespace ui {

struct Options {
    bool headless = false;
    bool help = false;
    std::optional<std::string> bundle; // replaces the bundled resources folder
    std::optional<std::string> home;   // replaces the user's home (documents and caches below it)
    std::optional<std::string> script; // a file of script commands, or "-" for standard input
    // Pixels per point of the window and of screenshots; unset: 2 headless, a window fits the display.
    std::optional<Float> scale;

    // The options in argv[1..]; nullopt with `error` set for an unknown option or a bad value.
    static std::optional<Options> parse(int argc, const char* const* argv, std::string& error);
    // The text of --help for the program named `program`.
    static std::string usage(const std::string& program);
};

} // namespace ui
