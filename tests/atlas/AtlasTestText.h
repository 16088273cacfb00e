#pragma once
// Editing the authoring and data file texts of the atlas tests, and finding lines in them.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

// `text` with the first `from` replaced by `to`; fails the test when there is no `from`.
inline std::string replaced(std::string text, const std::string& from, const std::string& to) {
    auto at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos)
        text.replace(at, from.size(), to);
    return text;
}

// The line (from 1) on which `marker` first stands in `text`.
inline int lineOf(const std::string& text, const std::string& marker) {
    auto at = text.find(marker);
    EXPECT_NE(at, std::string::npos) << marker;
    return 1 +
           int(std::count(text.begin(), text.begin() + static_cast<long>(std::min(at, text.size())), '\n'));
}
