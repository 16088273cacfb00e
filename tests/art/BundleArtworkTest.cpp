// The bundle's artwork: transparent around the shapes laid over pictures, and pressed buttons that look
// pressed (the start picture and the rest show in the picture tour, tests/pictures).

#include "ArtPicture.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

TEST(BundleArtwork, PicturesLaidOverOthersAreTransparentAroundTheirShape) {
    std::vector<std::string> names = {
        "circle",     "flag", "labelBubble", "bubble_left",         "bubble_right",
        "infoButton", "bb",   "scalpel",     "Buttons/whiteButton", "Buttons/blackButton"};
    for (std::string bar : {"info", "quiz", "help", "flag", "views", "mag", "index", "back_button"}) {
        names.push_back("Buttons/" + bar);
        names.push_back("Buttons/" + bar + " pressed");
    }
    for (int n = 1; n <= 4; ++n)
        names.push_back("Arrow Hints/" + std::to_string(n));
    for (int frame = 1; frame <= 15; ++frame)
        names.push_back("arrows/" + std::to_string(frame));
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        ArtPicture picture = ArtPicture::load(name);
        ASSERT_TRUE(picture.hasAlpha());
        int right = picture.pixelWidth() - 1, bottom = picture.pixelHeight() - 1;
        for (auto [x, y] : {std::pair{0, 0}, {right, 0}, {0, bottom}, {right, bottom}})
            EXPECT_EQ(picture.alphaAtPixel(x, y), 0) << x << ", " << y;
    }
}

TEST(BundleArtwork, EveryBarButtonLooksDifferentWhenPressed) {
    for (std::string bar : {"info", "quiz", "help", "flag", "views", "mag", "index", "back_button"}) {
        SCOPED_TRACE(bar);
        ArtPicture resting = ArtPicture::load("Buttons/" + bar);
        ArtPicture pressed = ArtPicture::load("Buttons/" + bar + " pressed");
        int differing = 0;
        for (double y = 0; y < resting.height(); y += 0.5)
            for (double x = 0; x < resting.width(); x += 0.5)
                differing += resting.channel(x, y, 0) != pressed.channel(x, y, 0);
        EXPECT_GT(differing, resting.pixelWidth() * resting.pixelHeight() / 4);
    }
}

} // namespace
