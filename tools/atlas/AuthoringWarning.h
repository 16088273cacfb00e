#pragma once
// Something in an authoring file that builds but will surprise its author in the program: the line it
// stands on, what is wrong and what to do. Warnings never stop a build; `torvex-atlas --strict` makes
// them errors.

#include <string>

namespace atlas {

struct AuthoringWarning {
    int line = 0;
    std::string message;
};

} // namespace atlas
