// The quiz: choosing areas, drawing questions, answering, scoring and leaving.
#include "Platform/Switch.h"
#include "tests/support/TestViewer.h"

#include <set>

namespace {

class QuizFlow : public testviewer::LoadedViewerTest {
protected:
    QuizFlow() : LoadedViewerTest("panels") {}
    const Quiz& quiz() { return viewer().quiz(); }
    ui::View& questionPanel() { return *quiz().questionPanel(); }
    ui::View& setUpPanel() { return *quiz().setUpPanel(); }
    // Opens the quiz and switches on the areas of these names.
    void openQuizWithAreas(std::initializer_list<const char*> areas) {
        press("quiz", 1.0);
        for (const char* area : areas) {
            ui::View* areaSwitch = driver.find(std::string("quizArea ") + area);
            ASSERT_NE(areaSwitch, nullptr) << area;
            tap(*areaSwitch);
        }
        wait(0.3);
    }
    std::string asked() { return quiz().Questions().at(static_cast<std::size_t>(quiz().question() - 1)); }
    std::string text(const char* label) { return dynamic_cast<ui::Label&>(*driver.find(label)).text(); }
    void start(std::initializer_list<const char*> areas) {
        openQuizWithAreas(areas);
        press("Start", 0.7);
    }

    // The region that shows the asked structure, with its flags up, as a user would have zoomed in.
    void goToAskedRegion() {
        const TreeNode* point = viewer().content().indexDictionary.find(asked());
        ASSERT_NE(point, nullptr);
        showRegion(std::string(TorvexView::ancestor(point, 4)->getHeader()));
        wait(1.0);
        ASSERT_FALSE(bubbles().flags().empty());
    }
    ui::Button& someFlagOtherThanTheAsked(int skip = 0) {
        for (std::size_t i = 0; i < bubbles().flags().size(); ++i) {
            if (bubbles().nodesOfFlags()[i]->attribute("infoid") != asked() && skip-- == 0)
                return *bubbles().flags()[i];
        }
        throw std::runtime_error("no other flag");
    }
    void answerRightly() {
        goToAskedRegion();
        tap(*flagOf(asked()));
        ASSERT_EQ(alertTitle(), "Correct answer");
        pressAlertButton("Next");
        wait(3.0); // back to the top region, one level a second
    }
};

TEST_F(QuizFlow, TheSetUpPanelListsTheAreasWithASwitchEachAndStartNeedsOne) {
    press("quiz");
    EXPECT_TRUE(quiz().inQuiz());
    EXPECT_NE(viewer().bar().button(Bar::Quiz)->image().fileName().find("quiz pressed"), std::string::npos);
    wait(1.0);
    EXPECT_EQ(setUpPanel().frame(), ui::Rect(10, 480 - 195 - 30, 300, 195));
    EXPECT_EQ(driver.find("quizArea Limbs")->frame(), ui::Rect(10, 120, 94, 27));
    EXPECT_EQ(questionPanel().superview(), nullptr) << "no question is asked while areas are chosen";
    press("Start", 1.0);
    EXPECT_TRUE(quiz().Questions().empty()) << "no area switched on";
    EXPECT_EQ(setUpPanel().frame().x(), 10);
}

TEST_F(QuizFlow, ThreeAreasGiveTwelveDistinctQuestionsAndTheQuestionPanelTakesTheSetUpPanelsPlace) {
    openQuizWithAreas({"Head", "Trunk", "Limbs"});
    ui::Point setUpCenter = setUpPanel().center();
    press("Start");
    const auto& questions = quiz().Questions();
    ASSERT_EQ(questions.size(), 12u);
    EXPECT_EQ(std::set<std::string>(questions.begin(), questions.end()).size(), 12u);
    EXPECT_EQ(text("numQuestion"), "Question 1 of 12:");
    EXPECT_EQ(text("procent"), "0 %");
    wait(0.7);
    EXPECT_EQ(questionPanel().center(), setUpCenter);
    EXPECT_EQ(questionPanel().frame().size, (ui::Size{300, 120}));
    EXPECT_EQ(setUpPanel().superview(), nullptr);
}

TEST_F(QuizFlow, AQuestionNamesTheStructureAndPassSkipsToQuizCompletedThenOKCloses) {
    start({"Trunk"});
    for (int i = 1; i <= 12; ++i) {
        EXPECT_EQ(text("numQuestion"), "Question " + std::to_string(i) + " of 12:");
        std::string english = bubbles().getInfoOfPoint(asked(), 0),
                    latin = bubbles().getInfoOfPoint(asked(), 1);
        bool hasLatin = latin.size() > 1;
        EXPECT_EQ(text("labelForQuestion"),
                  "Please zoom in and identify the location of the " + english + (hasLatin ? "," : "."));
        EXPECT_EQ(text("labelForQuestionLatin"), hasLatin ? "(" + latin + ")." : "");
        press("Pass");
    }
    EXPECT_EQ(text("procent"), "0 %") << "passing scores nothing";
    EXPECT_EQ(text("labelForQuestion"), "Quiz completed");
    EXPECT_EQ(text("numQuestion"), "Question 12 of 12:");
    press("OK");
    EXPECT_FALSE(quiz().inQuiz());
    wait(0.75);
    EXPECT_EQ(questionPanel().superview(), nullptr) << "gone once it has slid out";
    EXPECT_EQ(viewer().bar().button(Bar::Quiz)->image().fileName().find("pressed"), std::string::npos);
}

TEST_F(QuizFlow, ARightFlagScoresAndMovesOnAndThreeWrongOnesOfferFindWhichTravelsThere) {
    start({"Trunk"});
    answerRightly();
    EXPECT_EQ(text("numQuestion"), "Question 2 of 12:");
    EXPECT_EQ(text("procent"), "8 %");
    EXPECT_EQ(quiz().countAns(), 0);
    EXPECT_EQ(viewer().currentRegion()->getHeader(), "Body") << "every question starts from the top";
    goToAskedRegion(); // three wrong answers offer Find, which travels there
    tap(someFlagOtherThanTheAsked());
    EXPECT_EQ(bubbles().labelForFlag()->text(), "Incorrect \u2013 2 more attempts");
    EXPECT_EQ(bubbles().labelForFlagLatin()->alpha(), 0) << "the Latin name would give the answer away";
    EXPECT_EQ(alertTitle(), "");
    tap(someFlagOtherThanTheAsked(1));
    EXPECT_EQ(bubbles().labelForFlag()->text(), "Incorrect \u2013 1 more attempt");
    tap(someFlagOtherThanTheAsked(2));
    ASSERT_EQ(alertTitle(), "Incorrect- No More Attempts");
    std::string structure = asked();
    pressAlertButton("Find");
    EXPECT_EQ(quiz().countAns(), 4);
    wait(10);
    EXPECT_EQ(dynamic_cast<ui::Button&>(*driver.find("passButton")).currentTitle(), "Next");
    EXPECT_EQ(bubbles().labelForFlag()->text(), bubbles().getInfoOfPoint(structure, 0));
    EXPECT_EQ(text("procent"), "8 %");
    press("Next");
    EXPECT_EQ(text("numQuestion"), "Question 3 of 12:");
}

TEST_F(QuizFlow, AreasWithFewerThanTwelvePointsGiveAShortQuizThatStillScoresAHundred) {
    start({"Head"});
    ASSERT_EQ(quiz().Questions().size(), 3u) << "the head's regions hold three structures";
    EXPECT_EQ(text("numQuestion"), "Question 1 of 3:");
    for (int i = 0; i < 3; ++i)
        answerRightly();
    EXPECT_EQ(text("labelForQuestion"), "Quiz completed");
    EXPECT_EQ(text("procent"), "100 %") << "each right answer adds a third";
}

TEST_F(QuizFlow, TheIndexButtonAsksToLeaveAndYesLeavesAndOpensTheIndex) {
    start({"Trunk"});
    press("index");
    ASSERT_EQ(alertTitle(), "Are you sure want to get out of the quiz?");
    EXPECT_EQ(driver.state()["alert"]["buttons"], nlohmann::ordered_json::array({"NO", "YES"}));
    EXPECT_GT(viewer().index().panel()->frame().x(), 320) << "the index does not open";
    pressAlertButton("NO");
    EXPECT_TRUE(quiz().inQuiz());
    EXPECT_EQ(text("numQuestion"), "Question 1 of 12:");

    press("index");
    pressAlertButton("YES");
    EXPECT_FALSE(quiz().inQuiz());
    EXPECT_FALSE(quiz().quizQuit());
    wait(0.75);
    EXPECT_EQ(viewer().index().panel()->frame().x(), 40);
    EXPECT_EQ(questionPanel().superview(), nullptr);
}

TEST_F(QuizFlow, TheQuizButtonAsksToLeaveAndAfterYesNoFlagsRiseAndTheSwitchesKeepTheirState) {
    start({"Trunk"});
    press("quiz");
    ASSERT_EQ(alertTitle(), "Are you sure want to get out of the quiz?");
    pressAlertButton("YES");
    EXPECT_FALSE(quiz().inQuiz());
    wait(1.0);
    EXPECT_EQ(setUpPanel().frame().x(), 400);
    EXPECT_GT(viewer().index().panel()->frame().x(), 320);
    showRegion("Chest");
    wait(1.5);
    EXPECT_TRUE(bubbles().flagsIsHidden()) << "entering a region after a quiz raises no flags";
    press("quiz", 1.0);
    EXPECT_TRUE(dynamic_cast<ui::Switch&>(*driver.find("quizArea Trunk")).isOn());
}

} // namespace
