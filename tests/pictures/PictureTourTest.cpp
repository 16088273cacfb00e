// tour.script's screenshots of the sample atlas compared with those in tests/data/pictures, a few pixels
// allowed to differ by rounding. To record them again: TORVEX_RECORD_PICTURES=1 build/test_pictures

#include "tests/support/PictureBytes.h"
#include "tests/support/TemporaryFolder.h"
#include "tests/support/TestProgram.h"

#include <gtest/gtest.h>

#include <limits>
#include <unistd.h>

namespace {

constexpr int channelTolerance = 24, changedPixelsAllowed = 12;
const std::filesystem::path recorded = TORVEX_SOURCE_DIR "/tests/data/pictures";

// How many pixels of `taken` differ from `expected`'s; all when a picture is unreadable or of another size.
int changedPixels(const std::string& taken, const std::string& expected) {
    cairo_surface_t* one = cairo_image_surface_create_from_png(taken.c_str());
    cairo_surface_t* other = cairo_image_surface_create_from_png(expected.c_str());
    int changed = cairo_surface_status(one) || cairo_surface_status(other)
                      ? std::numeric_limits<int>::max()
                      : testpictures::pixelsDiffering(one, other, channelTolerance);
    cairo_surface_destroy(one);
    cairo_surface_destroy(other);
    return changed;
}

TEST(PictureTour, everyScreenLooksAsRecorded) {
    const bool recording = std::getenv("TORVEX_RECORD_PICTURES") != nullptr;
    TemporaryFolder home;
    TestProgram program(TORVEX_BUILD_BUNDLE_DIR, home.path().string());
    ui::Driver::resetToolkit(1); // the screen's points as pixels: small recorded files
    program.launch();
    std::ifstream script(TORVEX_SOURCE_DIR "/tests/pictures/tour.script");
    for (std::string line; std::getline(script, line);) {
        if (line.rfind("screenshot ", 0) != 0) {
            ASSERT_TRUE(program.run(line)) << line;
            continue;
        }
        std::string name = line.substr(11), taken = home / name;
        ASSERT_TRUE(program.driver.screenshot(taken));
        if (recording)
            std::filesystem::copy_file(taken, recorded / name,
                                       std::filesystem::copy_options::overwrite_existing);
        if (changedPixels(taken, recorded / name) > changedPixelsAllowed) {
            auto kept = std::filesystem::temp_directory_path() /
                        ("torvex-" + std::to_string(::getpid()) + "-" + name);
            std::filesystem::copy_file(taken, kept);
            ADD_FAILURE() << name << " differs from the recorded picture; this run's is " << kept.string();
        }
    }
}

} // namespace
