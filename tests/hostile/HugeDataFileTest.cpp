// A data file of 200 MB, made at test time beside the bundle: the program loads it (or refuses it,
// saying why) within its memory limit, and the atlas it shows works. Left out of the sanitizer build,
// where the same run would take minutes and gigabytes.

#include "ProgramRun.h"
#include "bench/LargeAtlas.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>

using ::testing::HasSubstr;

namespace {

constexpr std::size_t kMegabyte = 1 << 20;
constexpr std::size_t kDataFileBytes = 200 * kMegabyte;

TEST(HugeDataFile, ofTwoHundredMegabytesLoadsAndTheAtlasWorks) {
    if (HOSTILE_SANITIZED)
        GTEST_SKIP() << "a 200 MB data file takes minutes and gigabytes under the sanitizers";
    HostileBundle bundle;
    LargeAtlasWriter(kDataFileBytes).write(bundle.file("torvex.xml"));
    double megabytes = static_cast<double>(std::filesystem::file_size(bundle.file("torvex.xml"))) / kMegabyte;
    ASSERT_GE(megabytes, 199);

    ProgramRun run = runProgram(bundle, "wait 0.3\nstate\ntap 160 420\nwait 1.5\nstate\n"
                                        "press flag\nwait 0.5\nstate\n"
                                        "press index\nwait 0.5\npress Body 1 1 1\nwait 10\nstate\n");

    ASSERT_TRUE(run.exitedNormally()) << run.describe();
    auto states = run.states();
    ASSERT_EQ(states.size(), 4u) << run.describe();
    EXPECT_EQ(states[0]["startLabel"], "touch to continue") << "loaded within the first fifth of a second";
    EXPECT_EQ(states[1]["root"], "Body");
    EXPECT_EQ(states[2]["flagsIsHidden"], false);
    EXPECT_EQ(states[3]["root"], "Body 1 1 1");
    EXPECT_EQ(states[3]["interaction"], true);
    EXPECT_TRUE(states[3]["enterArray"].empty());
    EXPECT_LT(run.peakMegabytes, 2 * megabytes) << run.describe();
    std::cout << "data file of " << megabytes << " MB: loaded and toured in " << run.wallSeconds << " s ("
              << run.processorSeconds << " s of processor), peak memory " << run.peakMegabytes << " MB\n";
}

} // namespace
