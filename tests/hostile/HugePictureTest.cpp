// Pictures of 10000 x 10000 pixels, which would take 400 MB decoded: the program refuses them before
// decoding, says so naming the file, and its memory stays where it is without them.

#include "HostileTest.h"
#include "ProgramRun.h"

using ::testing::HasSubstr;

namespace {

constexpr std::uint32_t kSide = 10000;

const std::string& hugePicture() {
    static const std::string bytes = blackPngBytes(kSide, kSide);
    return bytes;
}

const char* const kTour = "wait 0.3\nstate\ntap 160 420\nwait 1.5\nstate\n"
                          "press Thorax\nwait 1.5\ntap 43 15\nwait 1.5\nstate\n";

TEST(HugePicture, asViewAndStartPictureIsRefusedByNameWithoutTakingMemory) {
    HostileBundle plain;
    ProgramRun baseline = runProgram(plain, kTour);
    ASSERT_TRUE(baseline.exitedNormally()) << baseline.describe();

    HostileBundle bundle;
    bundle.replacePicture("atlas/HumanBody/Anterior.png", hugePicture());
    bundle.replacePicture("torvexStart.jpg", hugePicture());
    ProgramRun run = runProgram(bundle, kTour);

    ASSERT_TRUE(run.exitedNormally()) << run.describe();
    auto states = run.states();
    ASSERT_EQ(states.size(), 3u) << run.describe();
    EXPECT_EQ(states[0]["startLabel"], "touch to continue");
    EXPECT_EQ(states[1]["root"], "Human Body");
    EXPECT_EQ(states[2]["root"], "Human Body");
    EXPECT_EQ(states[2]["interaction"], true);
    EXPECT_THAT(run.errors, HasSubstr("atlas/HumanBody/Anterior.png: PNG picture too large"));
    EXPECT_THAT(run.errors, HasSubstr("torvexStart.jpg: PNG picture too large"));
    // Decoded, the picture alone would take 400 MB.
    EXPECT_LT(run.peakMegabytes, baseline.peakMegabytes + 64) << run.describe();
}

} // namespace
