// Where the pictures point: the edge bubbles at their flag, the flag's tip at the point it marks, hint
// arrows into the picture, the turning arrow's sweep. The centred bubble, which the viewer composes
// from the sprite sheet, is checked where the viewer composes it (tests/interaction).

#include "ArtPicture.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

// The middle of the solid pixels in the lowest row holding any (points): where a pointer ends.
double lowestTipX(const ArtPicture& picture) {
    for (int y = picture.pixelHeight() - 1; y >= 0; --y) {
        int first = -1, last = -1;
        for (int x = 0; x < picture.pixelWidth(); ++x)
            if (picture.alphaAtPixel(x, y) >= 128) {
                first = first < 0 ? x : first;
                last = x;
            }
        if (first >= 0)
            return (first + last + 1) / 4.0;
    }
    return -1;
}

TEST(EdgeBubbles, TheirPointersSit30PointsFromTheLeftAnd31FromTheRightEnd) {
    ArtPicture left = ArtPicture::load("bubble_left"), right = ArtPicture::load("bubble_right");
    EXPECT_NEAR(lowestTipX(left), 30, 0.5);
    EXPECT_NEAR(lowestTipX(right), right.width() - 31, 0.5);
    // Stretching at x 65 must leave the pointers alone: the stretched column is plain body.
    for (const ArtPicture* bubble : {&left, &right})
        for (double y = 0; y < bubble->height(); y += 0.5)
            EXPECT_EQ(bubble->alpha(65, y), bubble->alpha(62, y)) << "y " << y;
    EXPECT_GE(right.width() - 66, 31 + 10) << "the pointer lies inside the right cap";
    for (const char* name : {"bubble_left", "bubble_right", "labelBubble"})
        EXPECT_LT(ArtPicture::load(name).channel(20, 20, 16), 60) << name << ": white text needs a dark body";
}

TEST(FlagPin, ItsTipIsThePointTheFlagMarks) {
    ArtPicture flag = ArtPicture::load("flag");
    double tipX = flag.width() / 2 - 5, tipY = flag.height() / 2 - 10;
    EXPECT_TRUE(flag.solid(tipX, tipY));
    for (double y = 0; y < tipY - 1; y += 0.5)
        for (double x = 0; x < flag.width(); x += 0.5)
            EXPECT_EQ(flag.alpha(x, y), 0) << "nothing above the tip, at " << x << ", " << y;
    for (double y = 0; y < flag.height(); y += 0.5)
        for (double x = 0; x < tipX - 1; x += 0.5)
            EXPECT_EQ(flag.alpha(x, y), 0) << "nothing left of the tip, at " << x << ", " << y;
}

TEST(HintArrows, EachPointsIntoThePictureFromItsEdge) {
    struct Case {
        int number;
        int dx, dy; // the way the arrow points
    };
    for (Case c : {Case{1, -1, 0}, Case{2, 1, 0}, Case{3, 0, -1}, Case{4, 0, 1}}) {
        SCOPED_TRACE(c.number);
        ArtPicture hint = ArtPicture::load("Arrow Hints/" + std::to_string(c.number));
        double length = c.dx ? hint.width() : hint.height(), span = c.dx ? hint.height() : hint.width();
        auto at = [&](double along, double across) {
            return c.dx ? hint.solid(along, across) : hint.solid(across, along);
        };
        // How far the arrow reaches in the way it points, on a line across it.
        auto reach = [&](double across) {
            double best = -1e9;
            for (double along = 0; along < length; along += 0.5)
                if (at(along, across))
                    best = std::max(best, (c.dx + c.dy) * along);
            return best;
        };
        EXPECT_GT(reach(span / 2), reach(span / 4) + 5) << "the middle of the arrow leads";
        double tip = std::abs(reach(span / 2)) - 3 * (c.dx + c.dy);
        int blue = c.dx ? hint.channel(tip, span / 2, 0) : hint.channel(span / 2, tip, 0);
        EXPECT_GT(blue, 200);
    }
}

double leftmostSolid(const ArtPicture& picture) {
    for (double x = 0; x < picture.width(); x += 0.5)
        for (double y = 0; y < picture.height(); y += 0.5)
            if (picture.solid(x, y))
                return x;
    return picture.width();
}

TEST(TurningArrow, ItGrowsFromRightToLeftAndLeavesAnEmptyLastFrame) {
    double previousLeft = 321;
    int previousCount = 0;
    for (int frame = 1; frame <= 10; ++frame) {
        SCOPED_TRACE(frame);
        ArtPicture picture = ArtPicture::load("arrows/" + std::to_string(frame));
        double left = leftmostSolid(picture);
        int count = picture.solidPixelCount();
        EXPECT_LE(left, previousLeft + 1) << "the head turns up at the end of the sweep";
        EXPECT_GT(count, previousCount);
        previousLeft = left;
        previousCount = count;
    }
    EXPECT_LT(previousLeft, 60);
    EXPECT_EQ(ArtPicture::load("arrows/15").solidPixelCount(), 0);
}

} // namespace
