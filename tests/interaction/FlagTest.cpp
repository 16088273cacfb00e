// Flags: built once per view, shown in the picture band, brought to the middle by magnification.
#include "tests/support/PictureBytes.h"
#include "tests/support/TestViewer.h"
#include <cmath>

class FlagTest : public testviewer::LoadedViewerTest {
protected:
    FlagTest() : LoadedViewerTest("interaction") {}
};

TEST_F(FlagTest, FlagsAreShownInsideTheBandOnlyAndTogglingKeepsThemBuilt) {
    showFlags();
    ASSERT_EQ(bubbles().flags().size(), 10u);
    ASSERT_EQ(bubbles().nodesOfFlags().size(), 10u);
    EXPECT_EQ(flag(0).center(), (ui::Point{165, 190}));
    EXPECT_EQ(flag(0).currentTitle(), "0");
    EXPECT_EQ(flag(0).superview(), &picture()) << "flags move with the picture";
    EXPECT_FALSE(flag(0).isHidden());
    EXPECT_EQ(flag(3).center().y, 38);
    EXPECT_TRUE(flag(3).isHidden());
    EXPECT_EQ(flag(4).center().y, 39);
    EXPECT_FALSE(flag(4).isHidden());
    EXPECT_EQ(flag(5).center().y, 435);
    EXPECT_TRUE(flag(5).isHidden());
    EXPECT_FALSE(bubbles().flagsIsHidden());
    EXPECT_FALSE(viewer().bar().button(Bar::Magnifier)->isHidden());
    EXPECT_NE(viewer().bar().button(Bar::Flags)->image().fileName().find("flag pressed"), std::string::npos);
    ui::Button* first = &flag(0);
    bubbles().displayFlags();
    EXPECT_TRUE(flag(0).isHidden());
    EXPECT_TRUE(bubbles().flagsIsHidden());
    EXPECT_TRUE(viewer().bar().button(Bar::Magnifier)->isHidden());
    EXPECT_EQ(viewer().bar().button(Bar::Flags)->image().fileName().find("pressed"), std::string::npos);
    showFlags();
    EXPECT_EQ(&flag(0), first);
    EXPECT_EQ(bubbles().flags().size(), 10u);
}

TEST_F(FlagTest, ShowingFlagsOnAMagnifiedPictureHidesTheScalpelInsteadOfShowingTheMagnifier) {
    picture().setTransform(ui::AffineTransform::scale(2, 2));
    driver.find("scalpel")->setHidden(false);
    showFlags();
    EXPECT_TRUE(driver.find("scalpel")->isHidden());
    EXPECT_TRUE(viewer().bar().button(Bar::Magnifier)->isHidden());
}

TEST_F(FlagTest, MagnificationCentresTheWaitingFlagAsFarAsThePictureReachesAndReopensItsBubbleUntilATap) {
    openBubbleOf(0);
    viewer().zoomOnOff();
    EXPECT_EQ(bubbles().wviewHint(), 0);
    driver.advance(0.65);
    EXPECT_EQ(picture().frame().origin, (ui::Point{-166, -160}));
    driver.advance(0.15 + 0.15 + 0.4);
    EXPECT_EQ(bubbles().hintOfFlag()->alpha(), 1);
    EXPECT_NEAR(flagOnScreen(0).x, 160, 1e-9);
    EXPECT_NEAR(flagOnScreen(0).y, 240, 1e-9);
    EXPECT_NEAR(bubbles().hintOfFlag()->frame().midX(), 160, 1) << "the bubble points at the flag";
    ui::Application& app = ui::Application::shared(); // a pan brings it back, a tap forgets it
    app.beginTouches({{0, {60, 300}}});
    app.moveTouches({{0, {90, 320}}});
    app.endTouches({{0, {90, 320}}});
    EXPECT_EQ(bubbles().wviewHint(), 0);
    driver.advance(0.6);
    EXPECT_EQ(bubbles().hintOfFlag()->alpha(), 1) << "the bubble is back at the flag's new place";
    tap({60, 300});
    EXPECT_EQ(bubbles().wviewHint(), -1);
    EXPECT_EQ(viewer().hotSpots().count(), 0) << "no pulse in magnification";
    driver.advance(0.6);
    EXPECT_EQ(bubbles().hintOfFlag()->alpha(), 0);
    // Any waiting flag is brought to the middle, as far as the picture reaches.
    struct Case {
        int flag;
        ui::Point origin;
    };
    // Flags 1 (43, 200), 2 (283, 200), 4 (163, 49), 5 (163, 445) after magnification; picture 640 x 840.
    const Case cases[] = {{1, {0, -160}}, {2, {-320, -160}}, {4, {-166, 30}}, {5, {-166, -390}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.flag);
        bubbles().setWaitingBubble(c.flag);
        bubbles().moveToFlag();
        driver.advance(0.65);
        EXPECT_EQ(picture().frame().origin, c.origin);
        EXPECT_EQ(picture().frame().size, (ui::Size{640, 840}));
        driver.advance(0.5);
    }
}

// A flag's bubble: names in two lines, composed to their width, kept on screen near the edges.

class BubbleTest : public testviewer::LoadedViewerTest {
protected:
    BubbleTest() : LoadedViewerTest("interaction") {}
    void SetUp() override {
        LoadedViewerTest::SetUp();
        showFlags();
    }
    void openBubble(int flagIndex) {
        pressFlag(flagIndex);
        driver.advance(0.4);
    }
    ui::ImageView& bubble() { return *bubbles().hintOfFlag(); }
    ui::Label& englishLine() { return *bubbles().labelForFlag(); }
    ui::Label& latinLine() { return *bubbles().labelForFlagLatin(); }
    // A picture's pixel alpha (0 to 255) at a point of the picture.
    static int alphaAt(const ui::Image& image, ui::Point point) {
        return testpictures::pixelAt(image.surface(), static_cast<int>(point.x * image.scale()),
                                     static_cast<int>(point.y * image.scale()))
            .a;
    }
    bool infoButtonShown() {
        return bubbles().infoButtonOfHint() && bubbles().infoButtonOfHint()->superview() &&
               bubbles().infoButtonOfHint()->alpha() == 1;
    }
};

TEST_F(BubbleTest, ABubbleOpensAboveItsFlagWithBothNamesAndNearAnEdgeTakesThePicturePointingThere) {
    openBubble(0);
    ui::Rect frame = bubble().frame();
    EXPECT_NEAR(frame.midX(), 165, 1) << "centred on the flag";
    EXPECT_EQ(frame.y(), 220 - 66);
    EXPECT_EQ(frame.height(), 58);
    EXPECT_EQ(frame.width(), std::floor(frame.width()));
    EXPECT_GE(frame.width(), ui::textWidth("(Cor)", ui::Font::italicSystem(13)) + 40);
    EXPECT_TRUE(bubble().image().fileName().empty()) << "composed, not a bundle picture";
    EXPECT_EQ(englishLine().text(), "Heart");
    EXPECT_EQ(englishLine().frame().y(), 154);
    EXPECT_EQ(latinLine().text(), "(Cor)");
    EXPECT_EQ(latinLine().frame().y(), 154 + 18);
    EXPECT_EQ(latinLine().font(), ui::Font::italicSystem(13));
    EXPECT_EQ(latinLine().alpha(), 1);
    ASSERT_TRUE(infoButtonShown());
    EXPECT_EQ(bubbles().infoButtonOfHint()->currentTitle(), "The heart pumps the blood.");
    EXPECT_NEAR(bubbles().infoButtonOfHint()->center().x, frame.maxX() - 7, 0.5);
    EXPECT_EQ(bubbles().infoButtonOfHint()->center().y, 220 - 44);
    openBubble(1); // near an edge it takes the picture pointing there and moves inwards
    EXPECT_NE(bubble().image().fileName().find("bubble_left"), std::string::npos);
    EXPECT_EQ(bubble().image().leftCap(), 65);
    EXPECT_EQ(bubble().image().topCap(), 25);
    EXPECT_NEAR(bubble().frame().x(), 45 - 30, 1) << "the pointer, 30 from the left end, at the flag";
    EXPECT_NEAR(englishLine().center().x, bubble().frame().midX() - 4 * 1.34, 1);
    EXPECT_NEAR(bubbles().infoButtonOfHint()->center().x, bubble().frame().maxX() - 7, 1);
    openBubble(2);
    EXPECT_NE(bubble().image().fileName().find("bubble_right"), std::string::npos);
    EXPECT_NEAR(bubble().frame().maxX(), 285 + 31, 1) << "the pointer, 31 from the right end, at the flag";
    EXPECT_LE(bubbles().infoButtonOfHint()->center().x, 320);
    // The picture changes once the info button comes within 10 points of the edge: a flag at 277.
    for (float x : {276.0f, 277.0f}) {
        bubbles().createBubbleOfFlag("Heart", "Cor", "The heart pumps the blood.", x, 220);
        EXPECT_EQ(bubble().image().fileName().find("bubble_right") != std::string::npos, x == 277) << x;
    }
}

TEST_F(BubbleTest, AComposedBubbleOfOddWidthIsOneWiderWithThePointerInTheMiddleAndNoSeams) {
    ui::Image picture = bubbles().createBubbleWithWidth(101);
    EXPECT_EQ(picture.size(), (ui::Size{102, 58}));
    EXPECT_GT(alphaAt(picture, {20, 20}), 200) << "the left piece's body";
    EXPECT_GT(alphaAt(picture, {80, 20}), 200) << "the right piece's body";
    EXPECT_EQ(alphaAt(picture, {20, 50}), 0) << "nothing below the body beside the pointer";
    EXPECT_GT(alphaAt(picture, {51, 54}), 100) << "the pointer's tip hangs down in the middle";
    EXPECT_EQ(alphaAt(picture, {44, 53}), 0);
    EXPECT_EQ(bubbles().createBubbleWithWidth(100).size().width, 100);
    for (int width : {101, 160, 240}) { // and no seams between the pieces
        ui::Image composed = bubbles().createBubbleWithWidth(width);
        double right = composed.size().width, half = right / 2;
        for (double y = 0; y < 44; y += 0.5) {
            int body = alphaAt(composed, {20, y});
            for (double x : {14.0, half - 12.5, half - 12, half + 11.5, half + 12, right - 16})
                EXPECT_EQ(alphaAt(composed, {x, y}), body) << width << " wide, at " << x << ", " << y;
        }
    }
}

TEST_F(BubbleTest, AnEmptyLatinNameIsNeverShownAndAFlagWithoutAnEntryReadsNull) {
    openBubble(6);
    EXPECT_EQ(englishLine().text(), "Spleen");
    EXPECT_EQ(latinLine().text(), "()");
    EXPECT_EQ(latinLine().alpha(), 0);
    EXPECT_EQ(englishLine().frame().y(), bubble().frame().y() + 10);
    EXPECT_FALSE(infoButtonShown()) << "no description";
    openBubble(9); // a flag without an entry reads null and still offers the info button
    EXPECT_EQ(englishLine().text(), "null");
    EXPECT_EQ(latinLine().text(), "(null)");
    ASSERT_TRUE(infoButtonShown());
    EXPECT_EQ(bubbles().infoButtonOfHint()->currentTitle(), "null");
}

TEST_F(BubbleTest, AFlagAboveThePictureBandOpensNoBubbleAndShortAndLongNamesKeepToTheScreen) {
    int waiting = bubbles().wviewHint();
    bubbles().displayHint(&flag(8));
    EXPECT_EQ(bubbles().viewHint(), 8) << "the press is still recorded";
    EXPECT_EQ(bubbles().wviewHint(), waiting);
    EXPECT_EQ(bubbles().hintOfFlag(), nullptr);
    openBubble(0); // a one-character Latin name is not shown where the previous bubble was
    openBubble(7);
    EXPECT_EQ(englishLine().text(), "Lymph node");
    EXPECT_EQ(latinLine().text(), "(-)");
    EXPECT_EQ(latinLine().alpha(), 0);
    EXPECT_EQ(latinLine().superview(), nullptr);
    EXPECT_EQ(englishLine().frame().y(), bubble().frame().y() + 10);
    const std::string longer =
                          "Gastro-oesophageal junction of the stomach", // a long name stays wholly on screen
        longest = "Gastro-oesophageal junction of the stomach and the lower end of the gullet";
    for (const std::string& name : {longer, longest}) {
        for (int flagIndex : {0, 1, 2}) {
            SCOPED_TRACE(name + " at flag " + std::to_string(flagIndex));
            std::string id(bubbles().nodesOfFlags().at(flagIndex)->attribute("infoid"));
            for (const auto& entry : viewer().content().allInfo->lastChild()->children) {
                if (entry->attribute("id") == id)
                    entry->setAttribute("title", name);
            }
            openBubble(flagIndex);
            ui::Rect frame = bubble().frame();
            EXPECT_GE(frame.minX(), 0);
            EXPECT_LE(frame.maxX(), 320);
            ASSERT_TRUE(infoButtonShown());
            const auto& info = *bubbles().infoButtonOfHint();
            EXPECT_LE(info.center().x + info.image().size().width / 2, 320);
            EXPECT_NEAR(info.center().x, frame.maxX() - 7, 0.5) << "at the bubble's right end";
            ui::Rect line = englishLine().frame();
            EXPECT_GE(line.minX(), frame.minX() - 6);
            EXPECT_LE(line.maxX(), frame.maxX());
            EXPECT_EQ(englishLine().lineBreakMode(), ui::LineBreakMode::TruncateTail);
            EXPECT_EQ(englishLine().text(), name);
        }
    }
    bubbles().createBubbleOfFlag(longest, "", "", 160, 220); // no info button: the whole width, no more
    EXPECT_LE(bubble().frame().maxX(), 320);
}
