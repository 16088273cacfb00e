#include "Platform/Script.h"

#include <charconv>
#include <cmath>
#include <istream>
#include <ostream>
#include <sstream>
#include <vector>

namespace ui {

namespace {

std::string trimmed(const std::string& text) {
    auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return "";
    auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

std::vector<std::string> words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> result;
    for (std::string word; in >> word;)
        result.push_back(word);
    return result;
}

bool parseNumber(const std::string& word, Float& value) {
    auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    return error == std::errc() && end == word.data() + word.size() && std::isfinite(value);
}

// Reads exactly `count` numbers, or between `count` and `count + optional`.
Result parseNumbers(const std::vector<std::string>& arguments, std::size_t count, std::size_t optional,
                    std::vector<Float>& numbers) {
    if (arguments.size() < count || arguments.size() > count + optional)
        return Result::failure("expected " + std::to_string(count) +
                               (optional ? " or " + std::to_string(count + optional) : std::string()) +
                               " numbers");
    for (auto& word : arguments) {
        Float value = 0;
        if (!parseNumber(word, value))
            return Result::failure("\"" + word + "\" is not a number");
        numbers.push_back(value);
    }
    return Result::success();
}

// Waits and drags run every timer, animation and finger step they span on the virtual clock, so a run
// takes as long as the time its script spans: a mistyped number must not keep it busy for days.
constexpr Float longestWait = 3600;
constexpr Float longestDrag = 60;

Result requireText(const std::string& text, const char* what) {
    return text.empty() ? Result::failure(std::string("expected ") + what) : Result::success();
}

} // namespace

const char* Script::help() {
    return "  wait S                 advance the clock by S seconds (at most 3600)\n"
           "  tap X Y                one finger down and up at screen point (X, Y)\n"
           "  drag X1 Y1 X2 Y2 [S]   one finger from the first point to the second over S seconds (0.3,\n"
           "                         at most 60)\n"
           "  press TEXT             tap the front-most visible, touchable control titled TEXT\n"
           "  type TEXT              typed text for the focused text field\n"
           "  key NAME               press a key: Left, Right, Up, Down, Escape, Return, BackSpace, Tab,\n"
           "                         F1 ... F12, one character (q, ?, /, +), ctrl+q ...; the focused\n"
           "                         text field takes Return, Escape, BackSpace and characters first\n"
           "  wheel X Y DY           the mouse wheel at (X, Y): DY points further down the content\n"
           "  resize W H             resize the window to W x H pixels (80 to 16384); the screen is\n"
           "                         letterboxed into it\n"
           "  alert TITLE            press the button titled TITLE of the open alert\n"
           "  screenshot FILE.png    write the window as a PNG at its size\n"
           "  dump                   print the view tree as one JSON line\n"
           "  state                  print the state as one JSON line\n"
           "  Blank lines and lines starting with # are skipped.\n";
}

Result Script::runLine(const std::string& line, Driver& driver, std::ostream& out) {
    std::string text = trimmed(line);
    auto space = text.find_first_of(" \t");
    std::string command = text.substr(0, space);
    std::string rest = space == std::string::npos ? "" : trimmed(text.substr(space));
    auto arguments = words(rest);
    std::vector<Float> n;

    if (command.empty() || command[0] == '#')
        return Result::success();
    if (command == "wait") {
        if (auto parsed = parseNumbers(arguments, 1, 0, n); !parsed)
            return parsed;
        if (n[0] > longestWait)
            return Result::failure("a wait lasts at most an hour (3600 seconds)");
        return driver.advance(n[0]);
    }
    if (command == "tap") {
        if (auto parsed = parseNumbers(arguments, 2, 0, n); !parsed)
            return parsed;
        driver.tap({n[0], n[1]});
        return Result::success();
    }
    if (command == "drag") {
        if (auto parsed = parseNumbers(arguments, 4, 1, n); !parsed)
            return parsed;
        if (n.size() == 5 && n[4] < 0)
            return Result::failure("the duration cannot be negative");
        if (n.size() == 5 && n[4] > longestDrag)
            return Result::failure("a drag lasts at most a minute (60 seconds)");
        driver.drag({n[0], n[1]}, {n[2], n[3]}, n.size() == 5 ? n[4] : 0.3);
        return Result::success();
    }
    if (command == "press") {
        if (auto required = requireText(rest, "the title of a control"); !required)
            return required;
        return driver.press(rest);
    }
    if (command == "type") {
        if (auto required = requireText(rest, "text to type"); !required)
            return required;
        return driver.type(rest);
    }
    if (command == "key") {
        if (auto required = requireText(rest, "a key name"); !required)
            return required;
        return driver.key(rest);
    }
    if (command == "wheel") {
        if (auto parsed = parseNumbers(arguments, 3, 0, n); !parsed)
            return parsed;
        driver.wheel({n[0], n[1]}, n[2]);
        return Result::success();
    }
    if (command == "resize") {
        if (auto parsed = parseNumbers(arguments, 2, 0, n); !parsed)
            return parsed;
        return driver.resize({n[0], n[1]});
    }
    if (command == "alert") {
        if (auto required = requireText(rest, "the title of a button"); !required)
            return required;
        return driver.alert(rest);
    }
    if (command == "screenshot") {
        if (auto required = requireText(rest, "a file name"); !required)
            return required;
        return driver.screenshot(rest);
    }
    if (command == "dump" || command == "state") {
        if (!rest.empty())
            return Result::failure(command + " takes no arguments");
        // Titles and typed text come from files and scripts and need not be UTF-8: a byte that is not
        // prints as U+FFFD instead of stopping the run.
        Json printed = command == "dump" ? driver.dumpTree() : driver.state();
        out << printed.dump(-1, ' ', false, Json::error_handler_t::replace) << std::endl;
        return Result::success();
    }
    return Result::failure("unknown command \"" + command + "\"");
}

int Script::run(std::istream& input, Driver& driver, std::ostream& out, std::ostream& err) {
    int number = 0;
    for (std::string line; std::getline(input, line);) {
        ++number;
        if (auto result = runLine(line, driver, out); !result) {
            err << "script line " << number << " \"" << trimmed(line) << "\": " << result.error()
                << std::endl;
            return 1;
        }
        if (Application::shared().quitRequested())
            break;
    }
    return 0;
}

} // namespace ui
