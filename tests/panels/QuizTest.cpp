// The quiz: choosing areas, drawing questions, answering, scoring and leaving.
#include "Classes/ForInfo.h"
#include "PanelsTest.h"
#include "Platform/Button.h"
#include "Platform/Label.h"
#include "Platform/Switch.h"

#include <set>

namespace {

// Areas in `quizs` order: the top region's sub-regions with a button in "Anterior".
constexpr int head = 0, trunk = 1, limbs = 2;

class Quiz : public PanelsTest {
protected:
    std::string asked() { return viewer().Questions.at(static_cast<std::size_t>(viewer().question - 1)); }
    std::string text(const ui::LabelPtr& label) { return label->text(); }

    // The region that shows the asked structure, with its flags up, as a user would have zoomed in.
    void goToAskedRegion() {
        const TreeNode* point = viewer().indexDictionary.find(asked());
        ASSERT_NE(point, nullptr);
        showRegion(std::string(TorvexView::ancestor(point, 4)->getHeader()));
        wait(1.0);
        ASSERT_FALSE(viewer().flags.empty());
    }
    ui::Button& someFlagOtherThanTheAsked(int skip = 0) {
        for (std::size_t i = 0; i < viewer().flags.size(); ++i) {
            if (viewer().nodesOfFlags[i]->attribute("infoid") != asked() && skip-- == 0)
                return *viewer().flags[i];
        }
        throw std::runtime_error("no other flag");
    }
    void answerRightly() {
        goToAskedRegion();
        pressFlag(*flagOf(asked()));
        ASSERT_EQ(alertTitle(), "Correct answer");
        pressAlertButton("Next");
        wait(3.0); // back to the top region, one level a second
    }
};

TEST_F(Quiz, TheSetUpPanelListsTheAreasWithASwitchEachAndSlidesIn) {
    ASSERT_EQ(viewer().quizs, (std::vector<std::string>{"Head", "Trunk", "Limbs"}));
    press("quiz");
    EXPECT_TRUE(viewer().inQuiz);
    EXPECT_NE(viewer().quizButton->image().fileName().find("quiz pressed"), std::string::npos);
    wait(1.0);
    EXPECT_EQ(setUpPanel().frame(), ui::Rect(10, 480 - 195 - 30, 300, 195));
    ASSERT_EQ(viewer().selectQuizs.size(), 3u);
    EXPECT_EQ(viewer().selectQuizs[2]->frame(), ui::Rect(10, 120, 94, 27));
    EXPECT_FALSE(viewer().selectQuizs[0]->isOn());
    EXPECT_EQ(questionPanel().superview(), nullptr) << "no question is asked while areas are chosen";
}

TEST_F(Quiz, StartWithNoAreaSwitchedOnDoesNothing) {
    openQuizWithAreas({});
    press("Start");
    wait(1.0);
    EXPECT_TRUE(viewer().Questions.empty());
    EXPECT_EQ(setUpPanel().frame().x(), 10);
}

TEST_F(Quiz, ThreeAreasGiveTwelveDistinctQuestionsAndTheQuestionPanelTakesTheSetUpPanelsPlace) {
    openQuizWithAreas({head, trunk, limbs});
    ui::Point setUpCenter = setUpPanel().center();
    press("Start");
    const auto& questions = viewer().Questions;
    ASSERT_EQ(questions.size(), 12u);
    EXPECT_EQ(std::set<std::string>(questions.begin(), questions.end()).size(), 12u);
    EXPECT_EQ(text(viewer().numQuestion), "Question 1 of 12:");
    EXPECT_EQ(text(viewer().procent), "0 %");
    wait(0.7);
    EXPECT_EQ(questionPanel().center(), setUpCenter);
    EXPECT_EQ(questionPanel().frame().size, (ui::Size{300, 120}));
    EXPECT_EQ(setUpPanel().superview(), nullptr);
}

TEST_F(Quiz, AQuestionNamesTheStructureWithItsLatinNameOnASecondLine) {
    openQuizWithAreas({trunk});
    press("Start");
    for (int i = 0; i < 12; ++i) {
        std::string english = viewer().getInfoOfPoint(asked(), 0),
                    latin = viewer().getInfoOfPoint(asked(), 1);
        if (latin.size() > 1) {
            EXPECT_EQ(text(viewer().labelForQuestion),
                      "Please zoom in and identify the location of the " + english + ",");
            EXPECT_EQ(text(viewer().labelForQuestionLatin), "(" + latin + ").");
        } else {
            EXPECT_EQ(text(viewer().labelForQuestion),
                      "Please zoom in and identify the location of the " + english + ".");
            EXPECT_EQ(text(viewer().labelForQuestionLatin), "");
        }
        press("Pass");
    }
}

TEST_F(Quiz, PassSkipsAndAfterTheLastQuestionQuizCompletedThenOKCloses) {
    openQuizWithAreas({trunk});
    press("Start");
    wait(1.0);
    for (int i = 2; i <= 12; ++i) {
        press("Pass");
        EXPECT_EQ(text(viewer().numQuestion), "Question " + std::to_string(i) + " of 12:");
    }
    EXPECT_EQ(text(viewer().procent), "0 %") << "passing scores nothing";
    press("Pass");
    EXPECT_EQ(text(viewer().labelForQuestion), "Quiz completed");
    EXPECT_EQ(text(viewer().numQuestion), "Question 12 of 12:");
    press("OK");
    EXPECT_FALSE(viewer().inQuiz);
    wait(0.75);
    EXPECT_EQ(questionPanel().superview(), nullptr) << "gone once it has slid out";
    EXPECT_EQ(viewer().quizButton->image().fileName().find("pressed"), std::string::npos);
}

TEST_F(Quiz, AFlagOfTheAskedStructureIsACorrectAnswerAndNextMovesOn) {
    openQuizWithAreas({trunk});
    press("Start");
    wait(0.7);
    answerRightly();
    EXPECT_EQ(text(viewer().numQuestion), "Question 2 of 12:");
    EXPECT_EQ(text(viewer().procent), "8 %");
    EXPECT_EQ(viewer().countAns, 0);
    EXPECT_EQ(viewer().root->getHeader(), "Body") << "every question starts from the top";
}

TEST_F(Quiz, ThreeWrongAnswersOfferFindWhichTravelsToTheStructure) {
    openQuizWithAreas({trunk});
    press("Start");
    wait(0.7);
    goToAskedRegion();
    pressFlag(someFlagOtherThanTheAsked());
    EXPECT_EQ(text(viewer().labelForFlag), "Incorrect \u2013 2 more attempts");
    EXPECT_EQ(viewer().labelForFlagLatin->alpha(), 0) << "the Latin name would give the answer away";
    EXPECT_EQ(alertTitle(), "");
    pressFlag(someFlagOtherThanTheAsked(1));
    EXPECT_EQ(text(viewer().labelForFlag), "Incorrect \u2013 1 more attempt");
    pressFlag(someFlagOtherThanTheAsked(2));
    ASSERT_EQ(alertTitle(), "Incorrect- No More Attempts");
    std::string structure = asked();
    pressAlertButton("Find");
    EXPECT_EQ(viewer().countAns, 4);
    wait(10);
    EXPECT_EQ(viewer().passButton->currentTitle(), "Next");
    EXPECT_EQ(text(viewer().labelForFlag), viewer().getInfoOfPoint(structure, 0));
    EXPECT_EQ(text(viewer().procent), "0 %");
    press("Next");
    EXPECT_EQ(text(viewer().numQuestion), "Question 2 of 12:");
}

TEST_F(Quiz, AreasWithFewerThanTwelvePointsGiveAShortQuizThatStillScoresAHundred) {
    openQuizWithAreas({head});
    press("Start");
    ASSERT_EQ(viewer().Questions.size(), 3u) << "the head's regions hold three structures";
    EXPECT_EQ(text(viewer().numQuestion), "Question 1 of 3:");
    wait(0.7);
    for (int i = 0; i < 3; ++i)
        answerRightly();
    EXPECT_EQ(text(viewer().labelForQuestion), "Quiz completed");
    EXPECT_EQ(text(viewer().procent), "100 %") << "each right answer adds a third";
}

TEST_F(Quiz, AreasWithoutAnyPointStartNoQuiz) {
    viewer().quizs[head] = "Nowhere";
    openQuizWithAreas({head});
    press("Start");
    EXPECT_TRUE(viewer().Questions.empty());
    wait(0.7);
    EXPECT_EQ(setUpPanel().frame().x(), 10);
    EXPECT_EQ(questionPanel().superview(), nullptr);
}

TEST_F(Quiz, TheIndexButtonAsksToLeaveAndYesLeavesAndOpensTheIndex) {
    openQuizWithAreas({trunk});
    press("Start");
    wait(0.7);
    press("index");
    ASSERT_EQ(alertTitle(), "Are you sure want to get out of the quiz?");
    EXPECT_EQ(driver.state()["alert"]["buttons"], nlohmann::ordered_json::array({"NO", "YES"}));
    EXPECT_GT(viewer().indexView->frame().x(), 320) << "the index does not open";
    pressAlertButton("NO");
    EXPECT_TRUE(viewer().inQuiz);
    EXPECT_EQ(text(viewer().numQuestion), "Question 1 of 12:");

    press("index");
    pressAlertButton("YES");
    EXPECT_FALSE(viewer().inQuiz);
    EXPECT_FALSE(viewer().quizQuit);
    wait(0.75);
    EXPECT_EQ(viewer().indexView->frame().x(), 40);
    EXPECT_EQ(questionPanel().superview(), nullptr);
}

TEST_F(Quiz, TheQuizButtonAsksToLeaveAndYesOpensNothingElse) {
    openQuizWithAreas({trunk});
    press("quiz");
    ASSERT_EQ(alertTitle(), "Are you sure want to get out of the quiz?");
    pressAlertButton("YES");
    EXPECT_FALSE(viewer().inQuiz);
    wait(1.0);
    EXPECT_EQ(setUpPanel().frame().x(), 400);
    EXPECT_GT(viewer().indexView->frame().x(), 320);
    press("quiz");
    wait(1.0);
    EXPECT_TRUE(viewer().selectQuizs[trunk]->isOn()) << "the switches keep their state";
}

TEST_F(Quiz, AfterLeavingAQuizEnteringARegionRaisesNoFlags) {
    openQuizWithAreas({trunk});
    press("Start");
    wait(0.7);
    press("quiz");
    pressAlertButton("YES");
    wait(0.75);
    showRegion("Chest");
    wait(1.5);
    EXPECT_TRUE(viewer().flagsIsHidden);
}

} // namespace
