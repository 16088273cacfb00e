#pragma once
// The automation script: one command per line, read and carried out in order.
//
//     wait S                   advance the clock by S seconds (at most 3600)
//     tap X Y                  one finger down and up at screen point (X, Y)
//     drag X1 Y1 X2 Y2 [S]     one finger from the first point to the second over S seconds (0.3,
//                              at most 60)
//     press TEXT               tap the front-most visible, touchable control titled TEXT
//     type TEXT                typed text for the focused text field
//     key NAME                 press a key (Application::keyName); the focused field takes its keys first
//     wheel X Y DY             the mouse wheel at (X, Y): DY points further down the content
//     resize W H               the window's new size in pixels
//     alert TITLE              press the button titled TITLE of the open alert
//     screenshot FILE.png      write the window as a PNG at its size
//     dump                     print the view tree as one JSON line
//     state                    print the state as one JSON line
//
// Blank lines and lines starting with '#' are skipped. A line that cannot be carried out stops the run
// with a message naming the line.

#include "Platform/Driver.h"

#include <iosfwd>
#include <string>

namespace ui {

class Script {
public:
    // The command list above, for --help.
    static const char* help();

    // Carries out one line; `out` receives what dump and state print.
    static Result runLine(const std::string& line, Driver& driver, std::ostream& out);
    // Runs every line of `input`; 0 when all went well, else 1 after a message on `err` such as
    // `script line 3 "press Start": no visible, touchable control titled "Start"`.
    static int run(std::istream& input, Driver& driver, std::ostream& out, std::ostream& err);
};

} // namespace ui
