// The bundle holds every picture the program names, at 2x, in the size the layout expects.

#include "ArtPicture.h"

#include <fstream>
#include <gdk-pixbuf/gdk-pixbuf.h>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Expected {
    std::string name;
    double width, height;
    bool transparentCorners; // laid over pictures or over either background
};

std::vector<Expected> expectedPictures() {
    std::vector<Expected> list;
    const std::pair<std::string, double> bars[] = {{"info", 48},  {"quiz", 50}, {"help", 50}, {"flag", 54},
                                                   {"views", 54}, {"mag", 30},  {"index", 30}};
    for (const auto& [bar, width] : bars) {
        list.push_back({"Buttons/" + bar, width, 26, true});
        list.push_back({"Buttons/" + bar + " pressed", width, 26, true});
    }
    list.push_back({"Buttons/back_button", 86, 24, true});
    list.push_back({"Buttons/back_button pressed", 86, 24, true});
    list.push_back({"Buttons/whiteButton", 24, 24, true});
    list.push_back({"Buttons/blackButton", 24, 24, true});
    list.push_back({"Buttons/muscle", 131, 29, false});
    list.push_back({"Buttons/muscle_pressed", 131, 29, false});
    list.push_back({"circle", 60, 60, true});
    list.push_back({"Arrow Hints/1", 24, 60, true});
    list.push_back({"Arrow Hints/2", 24, 60, true});
    list.push_back({"Arrow Hints/3", 60, 24, true});
    list.push_back({"Arrow Hints/4", 60, 24, true});
    for (int frame = 1; frame <= 15; ++frame)
        list.push_back({"arrows/" + std::to_string(frame), 320, 420, true});
    list.push_back({"flag", 20, 28, true});
    list.push_back({"labelBubble", 134, 58, true});
    list.push_back({"bubble_left", 78, 58, true});
    list.push_back({"bubble_right", 108, 58, true});
    list.push_back({"infoButton", 22, 22, true});
    list.push_back({"bb", 40, 46, true});
    list.push_back({"scalpel", 60, 60, true});
    return list;
}

std::string readText(const std::string& relative) {
    std::ifstream file(bundlePath(relative));
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

TEST(BundleArtwork, EveryNamedPictureIsThereAtTwiceItsSizeInPoints) {
    for (const Expected& expected : expectedPictures()) {
        SCOPED_TRACE(expected.name);
        ArtPicture picture = ArtPicture::load(expected.name);
        ASSERT_TRUE(picture.loaded());
        EXPECT_EQ(picture.width(), expected.width);
        EXPECT_EQ(picture.height(), expected.height);
    }
}

TEST(BundleArtwork, PicturesLaidOverOthersAreTransparentAroundTheirShape) {
    for (const Expected& expected : expectedPictures()) {
        if (!expected.transparentCorners)
            continue;
        SCOPED_TRACE(expected.name);
        ArtPicture picture = ArtPicture::load(expected.name);
        ASSERT_TRUE(picture.hasAlpha());
        int right = picture.pixelWidth() - 1, bottom = picture.pixelHeight() - 1;
        EXPECT_EQ(picture.alphaAtPixel(0, 0), 0);
        EXPECT_EQ(picture.alphaAtPixel(right, 0), 0);
        EXPECT_EQ(picture.alphaAtPixel(0, bottom), 0);
        EXPECT_EQ(picture.alphaAtPixel(right, bottom), 0);
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

TEST(BundleArtwork, TheBackgroundSwitchShowsAWhiteAndABlackSwatch) {
    ArtPicture white = ArtPicture::load("Buttons/whiteButton"),
               black = ArtPicture::load("Buttons/blackButton");
    EXPECT_EQ(white.channel(12, 12, 16), 255);
    EXPECT_EQ(black.channel(12, 12, 16), 0);
    EXPECT_EQ(black.alpha(12, 12), 255);
}

TEST(BundleArtwork, TheHotspotRingIsRedAroundAnEmptyMiddle) {
    ArtPicture ring = ArtPicture::load("circle");
    EXPECT_EQ(ring.alpha(30, 30), 0);
    EXPECT_GT(ring.channel(30, 5, 16), 200);
    EXPECT_LT(ring.channel(30, 5, 8), 100);
    EXPECT_TRUE(ring.solid(55, 30));
}

TEST(BundleArtwork, ThePanelStretchesPlainlyFromItsCaps) {
    ArtPicture panel = ArtPicture::load("bb");
    // The column at x 17 and the row at y 21 are the ones that stretch: they must match their
    // neighbours inside the body, or the panel shows streaks when it grows.
    for (double y = 0; y < panel.height(); y += 0.5)
        EXPECT_EQ(panel.alpha(17, y), panel.alpha(20, y)) << "y " << y;
    for (double x = 0; x < panel.width(); x += 0.5)
        EXPECT_EQ(panel.alpha(x, 21), panel.alpha(x, 23)) << "x " << x;
    EXPECT_GT(panel.alpha(20, 23), 180);
    EXPECT_LT(panel.channel(20, 23, 16), 60);
}

TEST(BundleArtwork, TheStartPictureIsA640By960Jpeg) {
    int width = 0, height = 0;
    GdkPixbufFormat* format =
        gdk_pixbuf_get_file_info(bundlePath("torvexStart.jpg").c_str(), &width, &height);
    ASSERT_NE(format, nullptr);
    gchar* formatName = gdk_pixbuf_format_get_name(format);
    EXPECT_STREQ(formatName, "jpeg");
    g_free(formatName);
    EXPECT_EQ(width, 640);
    EXPECT_EQ(height, 960);
}

TEST(BundleArtwork, TheStartPictureIsDarkWhereTheStatusLineAndTheLinkTitlesGo) {
    GError* error = nullptr;
    GdkPixbuf* start = gdk_pixbuf_new_from_file(bundlePath("torvexStart.jpg").c_str(), &error);
    ASSERT_NE(start, nullptr);
    int stride = gdk_pixbuf_get_rowstride(start), channels = gdk_pixbuf_get_n_channels(start);
    const guchar* pixels = gdk_pixbuf_read_pixels(start);
    auto brightest = [&](int x0, int y0, int w, int h) {
        int most = 0;
        for (int y = y0 * 2; y < (y0 + h) * 2; ++y)
            for (int x = x0 * 2; x < (x0 + w) * 2; ++x)
                for (int c = 0; c < 3; ++c)
                    most = std::max(most, int(pixels[y * stride + x * channels + c]));
        return most;
    };
    EXPECT_LT(brightest(100, 139, 140, 20), 80);
    EXPECT_LT(brightest(37, 236, 150, 130), 80);
    g_object_unref(start);
}

TEST(BundleArtwork, TheBundleNamesNoContentServerAndItsTitlesOpenNoAddress) {
    EXPECT_EQ(readText("url.txt"), "") << "an installed copy must not fetch from, nor probe, any server";
    std::string text = readText("TitlesAndUrls.txt");
    ASSERT_FALSE(text.empty());
    EXPECT_NE(text.back(), '\n') << "a trailing line break would show an empty title";
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        EXPECT_FALSE(line.empty());
        EXPECT_EQ(line.find("://"), std::string::npos) << line;
    }
}

} // namespace
