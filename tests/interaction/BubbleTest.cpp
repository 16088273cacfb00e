// Pressing a flag opens its bubble: names in two lines, composed to their width, kept on screen near
// the edges; during a quiz question the press is the answer.
#include "InteractionTest.h"

#include "Classes/ForInfo.h"
#include "Platform/Bundle.h"
#include "Platform/Button.h"
#include "Platform/ImageView.h"
#include "Platform/Label.h"

#include <cmath>

class BubbleTest : public InteractionTest {
protected:
    void SetUp() override {
        InteractionTest::SetUp();
        showFlags();
    }
    void openBubble(int flagIndex) {
        pressFlag(flagIndex);
        driver.advance(0.4);
    }
    ui::ImageView& bubble() { return *viewer().hintOfFlag; }
    ui::Label& englishLine() { return *viewer().labelForFlag; }
    ui::Label& latinLine() { return *viewer().labelForFlagLatin; }
    bool infoButtonShown() {
        return viewer().infoButtonOfHint && viewer().infoButtonOfHint->superview() &&
               viewer().infoButtonOfHint->alpha() == 1;
    }
    void askQuestion(const std::string& infoId) {
        viewer().view()->addSubview(viewer().forQuestion);
        viewer().Questions = {"Label Dash", infoId, "Label Spleen"};
        viewer().question = 2;
        viewer().countAns = 0;
        viewer().proc = 0;
    }
};

TEST_F(BubbleTest, ABubbleOpensAboveItsFlagWithBothNamesAndAnInfoButton) {
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
    for (ui::View* part : {static_cast<ui::View*>(&bubble()), static_cast<ui::View*>(&englishLine()),
                           static_cast<ui::View*>(&latinLine())}) {
        EXPECT_EQ(part->alpha(), 1);
        EXPECT_EQ(part->superview(), viewer().view().get());
    }
    ASSERT_TRUE(infoButtonShown());
    EXPECT_EQ(viewer().infoButtonOfHint->currentTitle(), "The heart pumps the blood.");
    EXPECT_NEAR(viewer().infoButtonOfHint->center().x, frame.maxX() - 7, 0.5);
    EXPECT_EQ(viewer().infoButtonOfHint->center().y, 220 - 44);
    EXPECT_EQ(viewer().viewHint, 0);
    EXPECT_EQ(viewer().wviewHint, 0);
}

TEST_F(BubbleTest, ABubbleNearTheLeftEdgeTakesTheLeftPointedPictureAndMovesRight) {
    openBubble(1);
    EXPECT_NE(bubble().image().fileName().find("bubble_left"), std::string::npos);
    EXPECT_EQ(bubble().image().leftCap(), 65);
    EXPECT_EQ(bubble().image().topCap(), 25);
    EXPECT_NEAR(bubble().frame().x(), 45 - 30, 1) << "the pointer, 30 from the left end, at the flag";
    EXPECT_NEAR(englishLine().center().x, bubble().frame().midX() - 4 * 1.34, 1);
    EXPECT_NEAR(viewer().infoButtonOfHint->center().x, bubble().frame().maxX() - 7, 1);
}

TEST_F(BubbleTest, ABubbleNearTheRightEdgeTakesTheRightPointedPictureAndMovesLeft) {
    openBubble(2);
    EXPECT_NE(bubble().image().fileName().find("bubble_right"), std::string::npos);
    EXPECT_NEAR(bubble().frame().maxX(), 285 + 31, 1) << "the pointer, 31 from the right end, at the flag";
    EXPECT_LE(viewer().infoButtonOfHint->center().x, 320);
}

TEST_F(BubbleTest, AComposedBubbleOfOddWidthIsOneWiderWithThePointerUprightInTheMiddle) {
    ui::Image picture = viewer().createBubbleWithWidth(101);
    EXPECT_EQ(picture.size(), (ui::Size{102, 58}));
    EXPECT_GT(alphaAt(picture, {20, 20}), 200) << "the left piece's body";
    EXPECT_GT(alphaAt(picture, {80, 20}), 200) << "the right piece's body";
    EXPECT_EQ(alphaAt(picture, {20, 50}), 0) << "nothing below the body beside the pointer";
    EXPECT_GT(alphaAt(picture, {51, 54}), 100) << "the pointer's tip hangs down in the middle";
    EXPECT_EQ(alphaAt(picture, {44, 53}), 0);
    EXPECT_EQ(viewer().createBubbleWithWidth(100).size().width, 100);
}

TEST_F(BubbleTest, AnEmptyLatinNameIsNeverShownAndTheEnglishLineMovesDown) {
    openBubble(6);
    EXPECT_EQ(englishLine().text(), "Spleen");
    EXPECT_EQ(latinLine().text(), "()");
    EXPECT_EQ(latinLine().alpha(), 0);
    EXPECT_EQ(englishLine().frame().y(), bubble().frame().y() + 10);
    EXPECT_FALSE(infoButtonShown()) << "no description";
}

TEST_F(BubbleTest, AOneCharacterLatinNameIsNotShownWhereThePreviousBubbleWas) {
    openBubble(0);
    openBubble(7);
    EXPECT_EQ(englishLine().text(), "Lymph node");
    EXPECT_EQ(latinLine().text(), "(-)");
    EXPECT_EQ(latinLine().alpha(), 0);
    EXPECT_EQ(latinLine().superview(), nullptr);
    EXPECT_EQ(englishLine().frame().y(), bubble().frame().y() + 10);
}

TEST_F(BubbleTest, AFlagWithoutAnEntryReadsNullAndStillOffersTheInfoButton) {
    openBubble(9);
    EXPECT_EQ(englishLine().text(), "null");
    EXPECT_EQ(latinLine().text(), "(null)");
    ASSERT_TRUE(infoButtonShown());
    EXPECT_EQ(viewer().infoButtonOfHint->currentTitle(), "null");
}

TEST_F(BubbleTest, AFlagAnchoredAboveThePictureBandOpensNoBubble) {
    int waiting = viewer().wviewHint;
    viewer().displayHint(&flag(8));
    EXPECT_EQ(viewer().viewHint, 8) << "the press is still recorded";
    EXPECT_EQ(viewer().wviewHint, waiting);
    EXPECT_EQ(viewer().hintOfFlag, nullptr);
}

TEST_F(BubbleTest, AFlagTitleEqualToTheNumberOfFlagsStandsForTheLastAndLargerTitlesNameNoFlag) {
    auto stray = ui::make<ui::Button>(ui::ButtonType::Custom, ui::Rect(90, 90, 20, 20));
    stray->setTitle("10");
    viewer().displayHint(stray.get());
    EXPECT_EQ(viewer().viewHint, 9);
    EXPECT_EQ(englishLine().text(), "null");
    stray->setTitle("11");
    viewer().displayHint(stray.get());
    EXPECT_EQ(viewer().viewHint, 9);
    stray->setTitle("-2");
    viewer().displayHint(stray.get());
    EXPECT_EQ(viewer().viewHint, 9);
}

TEST_F(BubbleTest, InformationEntriesAreReadByKind) {
    EXPECT_EQ(viewer().getInfoOfPoint("Label Heart", 0), "Heart");
    EXPECT_EQ(viewer().getInfoOfPoint("Label Heart", 1), "Cor");
    EXPECT_EQ(viewer().getInfoOfPoint("Label Heart", 2), "The heart pumps the blood.");
    EXPECT_EQ(viewer().getInfoOfPoint("Label Heart", 3), "null");
    EXPECT_EQ(viewer().getInfoOfPoint("Label Nowhere", 0), "null");
}

TEST_F(BubbleTest, PointsOnTheEdgesOfARectangleAreInsideIt) {
    ui::Rect band(0, 30, 320, 420);
    EXPECT_TRUE(TorvexView::ifPoint({320, 450}, band));
    EXPECT_TRUE(TorvexView::ifPoint({0, 30}, band));
    EXPECT_FALSE(TorvexView::ifPoint({160, 29.9}, band));
    EXPECT_FALSE(TorvexView::ifPoint({320.1, 240}, band));
}

TEST_F(BubbleTest, ThreeWrongAnswersCloseTheQuestionWithTheAttemptsCountedDown) {
    askQuestion("Label Heart");
    openBubble(6);
    EXPECT_EQ(viewer().countAns, 1);
    EXPECT_EQ(englishLine().text(), "Incorrect \u2013 2 more attempts");
    EXPECT_EQ(viewer().tempName, "Spleen");
    EXPECT_NEAR(englishLine().center().y, bubble().center().y - 8, 1e-9);
    EXPECT_EQ(latinLine().alpha(), 0) << "the Latin name would give the answer away";
    EXPECT_TRUE(driver.state()["alert"].is_null());

    openBubble(7);
    EXPECT_EQ(viewer().countAns, 2);
    EXPECT_EQ(englishLine().text(), "Incorrect \u2013 1 more attempt");
    EXPECT_EQ(viewer().tempName, "Lymph node");

    openBubble(1);
    EXPECT_EQ(viewer().countAns, 3);
    EXPECT_EQ(englishLine().text(), "Incorrect \u2013 0 more attempts");
    EXPECT_EQ(
        driver.state()["alert"],
        (ui::Json{{"title", "Incorrect- No More Attempts"}, {"message", ""}, {"buttons", {"Next", "Find"}}}));
    EXPECT_EQ(viewer().proc, 0);

    viewer().displayHint(&flag(2));
    EXPECT_EQ(englishLine().text(), "Right structure") << "a settled question only shows bubbles";
    EXPECT_EQ(viewer().countAns, 3);
    ASSERT_TRUE(driver.alert("Next"));
    EXPECT_TRUE(driver.state()["alert"].is_null());
}

TEST_F(BubbleTest, ARightAnswerScoresAndSettlesTheQuestion) {
    askQuestion("Label Heart");
    openBubble(6);
    openBubble(0);
    EXPECT_EQ(englishLine().text(), "Heart");
    EXPECT_EQ(latinLine().alpha(), 1) << "the Latin name is shown with the right answer";
    EXPECT_FLOAT_EQ(viewer().proc, 8.33f);
    EXPECT_EQ(viewer().countAns, 3);
    EXPECT_EQ(driver.state()["alert"],
              (ui::Json{{"title", "Correct answer"}, {"message", ""}, {"buttons", {"Next"}}}));
    ASSERT_TRUE(driver.alert("Next"));
    EXPECT_TRUE(driver.state()["alert"].is_null());
}

TEST_F(BubbleTest, WithoutACurrentQuestionAPressDuringTheQuizOnlyShowsTheBubble) {
    askQuestion("Label Heart");
    viewer().question = 0;
    openBubble(0);
    EXPECT_EQ(viewer().countAns, 0);
    EXPECT_TRUE(driver.state()["alert"].is_null());
    EXPECT_EQ(englishLine().text(), "Heart");
}
