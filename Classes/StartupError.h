#pragma once
// A fault that keeps the atlas from starting (no bundle, a data file that cannot be read or parsed),
// told where the user looks: on standard error always, and in a window also in an alert naming the
// file and the reason, whose only button, "Quit", ends the program. Either way the exit status is 1.
// A missing picture is not such a fault: it is only logged where it is loaded.

#include "Classes/TorvexContent.h"

#include <filesystem>
#include <string>

class StartupError {
public:
    static constexpr const char* alertTitle = "Torvex cannot start";

    // Reports `message` as above; headless the run ends at once.
    static void report(const std::string& message);

    // "The atlas data file FILE could not be read: REASON" when `content` failed to load from `file`
    // or holds no regions; "" when it loaded.
    static std::string dataFileProblem(const TorvexContent& content, const std::filesystem::path& file);
};
