// The rings pulse and the hint arrows blink on the four ticks after a touch ends.
#include "tests/support/TestViewer.h"

#include "Platform/Button.h"
#include "Platform/ImageView.h"
#include "Platform/RunLoop.h"

class HotspotTest : public testviewer::LoadedViewerTest {
protected:
    HotspotTest() : LoadedViewerTest("interaction") {}
    // Runs the clock to the pulse timer's next tick.
    void advanceToNextTick() {
        driver.advance(viewer().hotSpots().timerForHotSpot()->fireTime() - ui::RunLoop::main().now());
    }
};

TEST_F(HotspotTest, ARingOfScaleOneHundredGrowsToOneOnTheFirstTickAndLessOnEachNext) {
    ui::Button& ring = *viewer().hotSpots().hotSpotButtons().at(0);
    ASSERT_EQ(ring.currentTitle(), "Chest");
    tap({260, 240});
    for (double expected : {1.0, 0.8, 0.6, 0.4}) {
        SCOPED_TRACE(expected);
        advanceToNextTick();
        EXPECT_FALSE(ring.isHidden());
        EXPECT_NEAR(ring.transform().a, expected, 1e-6);
        EXPECT_EQ(ring.alpha(), 0);
        EXPECT_NEAR(ring.presentationTransform().a, 0.2, 1e-9) << "each pulse starts small";
        EXPECT_EQ(ring.presentationAlpha(), 1);
        driver.advance(0.425);
        EXPECT_NEAR(ring.presentationTransform().a, (0.2 + expected) / 2, 1e-6) << "half way through";
    }
    advanceToNextTick();
    EXPECT_NEAR(ring.transform().a, 0.4, 1e-6) << "a fifth tick does not pulse";
    EXPECT_EQ(viewer().hotSpots().count(), 0);
}

TEST_F(HotspotTest, RingsStayStillInAViewWithoutHotspots) {
    viewer().hotSpots().setHotSpotOn(false);
    tap({260, 240});
    advanceToNextTick();
    ui::Button& ring = *viewer().hotSpots().hotSpotButtons().at(0);
    EXPECT_TRUE(ring.isHidden());
    EXPECT_TRUE(ring.transform().isIdentity());
    EXPECT_EQ(viewer().hotSpots().hotArrows()[2]->alpha(), 1) << "the hint arrows blink all the same";
}

TEST_F(HotspotTest, HintArrowsBlinkInAndOutAndVanishAtOnceWhenTheCountRunsOut) {
    tap({260, 240});
    ui::ImageView& hint = *viewer().hotSpots().hotArrows()[2];
    for (double expected : {1.0, 0.0, 1.0, 0.0}) {
        advanceToNextTick();
        EXPECT_EQ(hint.alpha(), expected);
    }
    tap({260, 240});
    advanceToNextTick();
    driver.advance(0.4);
    ASSERT_GT(hint.presentationAlpha(), 0.2);
    viewer().hotSpots().quiet();
    advanceToNextTick();
    EXPECT_EQ(hint.alpha(), 0);
    EXPECT_EQ(hint.presentationAlpha(), 0) << "no fading out";
}

// A sub-region without a pressable rectangle is entered by its ring alone, while the ring shows.
TEST_F(HotspotTest, ARingTakesATouchWhileItVisiblyPulsesAndNoneOnceFaded) {
    ui::Button& ring = *viewer().hotSpots().hotSpotButtons().at(0);
    for (const auto& rectangle : viewer().hotSpots().buttons())
        rectangle->setHidden(true);
    ui::Point ringCenter = ring.convertTo(ring.bounds().center(), nullptr);
    tap({260, 240});
    for (int tick = 0; tick < 4; ++tick) // the fourth and last pulse is the smallest
        advanceToNextTick();
    driver.advance(0.86);
    ASSERT_LE(ring.presentationAlpha(), 0.01);
    tap(ringCenter);
    driver.advance(1);
    EXPECT_EQ(viewer().currentRegion()->getHeader(), "Test Body") << "a faded ring takes no touch";
    tap({260, 240});
    advanceToNextTick();
    driver.advance(0.3);
    ASSERT_GT(ring.presentationAlpha(), 0.01);
    ASSERT_EQ(ring.alpha(), 0);
    tap(ringCenter);
    EXPECT_EQ(viewer().currentRegion()->getHeader(), "Chest");
}
