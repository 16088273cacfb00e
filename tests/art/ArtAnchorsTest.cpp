// Where the pictures point: bubbles at their flag, the flag's tip at the point it marks, hint
// arrows into the picture, the turning arrow's sweep. The centred bubble is composed here from
// the sprite sheet the way the viewer composes it.

#include "ArtPicture.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

constexpr double bubbleHeight = 58;

// Draws the columns [sx, sx + sw) of `sheet` into [tx, tx + tw): the first `cap` points stay, the
// next point stretches, the rest stays (the rows are drawn one to one).
void drawStretchedSlice(cairo_t* cr, const ArtPicture& sheet, double sx, double sw, double cap, double tx,
                        double tw) {
    const double sourceX[] = {sx, sx + cap, sx + cap + 1, sx + sw};
    const double targetX[] = {tx, tx + cap, tx + tw - (sw - cap - 1), tx + tw};
    for (int i = 0; i < 3; ++i) {
        if (sourceX[i + 1] <= sourceX[i] || targetX[i + 1] <= targetX[i])
            continue;
        double scale = (targetX[i + 1] - targetX[i]) / (sourceX[i + 1] - sourceX[i]);
        cairo_save(cr);
        cairo_rectangle(cr, targetX[i], 0, targetX[i + 1] - targetX[i], bubbleHeight);
        cairo_clip(cr);
        cairo_translate(cr, targetX[i], 0);
        cairo_scale(cr, scale, 1);
        cairo_translate(cr, -sourceX[i], 0);
        cairo_scale(cr, 0.5, 0.5);
        cairo_set_source_surface(cr, sheet.surface.get(), 0, 0);
        cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
        cairo_paint(cr);
        cairo_restore(cr);
    }
}

ArtPicture composeCentredBubble(int width) {
    ArtPicture sheet = ArtPicture::load("labelBubble");
    int w = width % 2 ? width + 1 : width;
    int half = w / 2;
    ArtPicture bubble = ArtPicture::blank(w, bubbleHeight);
    cairo_t* cr = cairo_create(bubble.surface.get());
    cairo_scale(cr, 2, 2);
    drawStretchedSlice(cr, sheet, 0, 26, 15, 0, half - 12);
    drawStretchedSlice(cr, sheet, 100, 34, 15, half + 12, half - 12);
    cairo_translate(cr, w, bubbleHeight);
    cairo_rotate(cr, -M_PI);
    drawStretchedSlice(cr, sheet, 60, 24, 0, half - 12, 24);
    cairo_destroy(cr);
    return bubble;
}

// The lowest row holding a solid pixel, and the middle of the solid pixels in it (points).
struct Tip {
    double x = -1, y = -1;
};

Tip lowestTip(const ArtPicture& picture) {
    for (int y = picture.pixelHeight() - 1; y >= 0; --y) {
        int first = -1, last = -1;
        for (int x = 0; x < picture.pixelWidth(); ++x)
            if (picture.alphaAtPixel(x, y) >= 128) {
                first = first < 0 ? x : first;
                last = x;
            }
        if (first >= 0)
            return {(first + last + 1) / 4.0, y / 2.0};
    }
    return {};
}

TEST(LabelBubble, ComposedAt101ItIs102WideWithItsPointerAtTheBottomMiddle) {
    ArtPicture bubble = composeCentredBubble(101);
    EXPECT_EQ(bubble.width(), 102);
    Tip tip = lowestTip(bubble);
    EXPECT_NEAR(tip.x, 51, 0.5);
    EXPECT_GT(tip.y, 50) << "the pointer hangs below the body";
    EXPECT_EQ(bubble.alpha(3, 56), 0);
    EXPECT_EQ(bubble.alpha(99, 56), 0);
}

TEST(LabelBubble, ComposedBodiesAreSeamlessAcrossTheSlices) {
    for (int width : {101, 160, 240}) {
        SCOPED_TRACE(width);
        ArtPicture bubble = composeCentredBubble(width);
        double half = bubble.width() / 2;
        for (double y = 0; y < 44; y += 0.5) {
            int body = bubble.alpha(20, y);
            for (double x : {14.0, half - 12.5, half - 12, half + 11.5, half + 12, bubble.width() - 16})
                EXPECT_EQ(bubble.alpha(x, y), body) << "x " << x << " y " << y;
        }
        EXPECT_TRUE(bubble.solid(half, 20));
        EXPECT_LT(bubble.channel(half, 20, 16), 60) << "white text needs a dark body";
    }
}

TEST(EdgeBubbles, TheirPointersSit30PointsFromTheLeftAnd31FromTheRightEnd) {
    ArtPicture left = ArtPicture::load("bubble_left"), right = ArtPicture::load("bubble_right");
    EXPECT_NEAR(lowestTip(left).x, 30, 0.5);
    EXPECT_NEAR(lowestTip(right).x, right.width() - 31, 0.5);
    // Stretching at x 65 must leave the pointers alone: the stretched column is plain body.
    for (const ArtPicture* bubble : {&left, &right})
        for (double y = 0; y < bubbleHeight; y += 0.5)
            EXPECT_EQ(bubble->alpha(65, y), bubble->alpha(62, y)) << "y " << y;
    EXPECT_GE(right.width() - 66, 31 + 10) << "the pointer lies inside the right cap";
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
