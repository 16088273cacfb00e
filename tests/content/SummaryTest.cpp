// The program's --summary: the region tree of a bundle as the loader reads it.
#include "tests/support/CommandRun.h"

#include <gtest/gtest.h>

namespace {

const std::string kBundle = TORVEX_SOURCE_DIR "/tests/data/bundle";

CommandRun runTorvex(const std::string& arguments) {
    return runCommand(std::string(TORVEX_BINARY) + " " + arguments + " 2>&1");
}

} // namespace

TEST(Summary, printsTheRegionTreeOfABundleAndFailsClearlyWithoutOne) {
    CommandRun good = runTorvex("--summary --bundle " + kBundle);
    EXPECT_EQ(good.status, 0) << good.output;
    EXPECT_NE(good.output.find("Upper Limb  [Anterior, Posterior"), std::string::npos) << good.output;
    EXPECT_NE(good.output.find("\n    Elbow  [Anterior, Posterior]\n"), std::string::npos) << good.output;
    EXPECT_NE(good.output.find("23 index terms"), std::string::npos) << good.output;

    CommandRun missing = runTorvex("--summary --bundle /nonexistent-bundle");
    EXPECT_NE(missing.status, 0);
    EXPECT_NE(missing.output.find("/nonexistent-bundle/torvex.xml"), std::string::npos) << missing.output;
}
