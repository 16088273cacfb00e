#pragma once
// The quiz: the choice of areas, the drawing of questions, the question flow with its score, and the
// way out. The part owns its two panels (the set-up panel and the question panel), the questions drawn
// and the score; the viewer tells it the flags pressed (`answer`) and hands it hooks for what lies
// outside it.
//
// A question is settled when `countAns` reaches 3 (a right answer, or the third wrong one); 4 means the
// viewer was sent to find the structure asked for.

#include "Classes/Lifetime.h"
#include "Classes/QuestionCard.h"
#include "Classes/QuizQuestions.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class ForInfo;
class TreeNode;
namespace ui {
class AlertView;
class Button;
class Label;
class Switch;
class View;
} // namespace ui

class Quiz {
public:
    struct Hooks {
        // Closes the views chooser, the information panel, the index and the help.
        std::function<void()> closeOtherPanels;
        std::function<void(bool pressed)> showButtonPressed;
        // The content node of an area of the top region, by its name.
        std::function<const TreeNode*(const std::string& name)> areaNamed;
        // A point's English name (0) or Latin name (1), by its information id.
        std::function<std::string(const std::string& infoId, int titleOrDesc)> infoOfPoint;
        std::function<void()> backToStart;
        std::function<void(const std::string& term)> goToPart;
        std::function<void()> displayIndex;
        // The flags and buttons of the view on screen made again (no question panel, no quiz flags).
        std::function<void()> redrawView;
        // The touch under way forgets where it began.
        std::function<void()> forgetTouch;
    };
    // What a flag pressed while a question waits did.
    enum class Answer { NotAnAnswer, Correct, Wrong, LastWrong };

    explicit Quiz(Hooks hooks);
    ~Quiz();

    // Loading: the panels, off screen, for the top region's areas `areaTitles`; `host` is the viewer's
    // view, which the panels join when they show.
    void createQuizPanels(ui::View& host, std::vector<std::string> areaTitles);

    // The quiz button's action: the set-up panel slides in, or during a quiz the way out is asked.
    void displayQuiz();
    void startQuiz(ui::Button* sender);
    void hideQuiz();
    void hideQuizView();
    void delselectQuizButton();
    // Asks "Are you sure want to get out of the quiz?"; `flag`: the index opens after a YES.
    void alertOKCancelAction(bool flag);
    // The one answer to every alert of the viewer: "NO" or "Next" (0), "YES" or "Find" (1).
    void alertView(ui::AlertView* alert, int buttonIndex);
    void nextQuestion(ui::Button* sender);
    // A flag named `englishName` was pressed while the question panel is on screen: scores it.
    Answer answer(const std::string& englishName);
    // Once the question is settled (a right answer, the last wrong one), asks what next.
    void askWhatNext(Answer answer);
    // The viewer arrived at the structure asked for: "Pass" reads "Next" once it was sent there.
    void arrivedAtAnswer();
    void bringQuestionPanelToFront();

    bool isQuestionOnScreen() const;
    bool isSetUpOnScreen() const;
    // The panels, for touches that land on them and the drag of the question panel.
    ui::View* setUpPanel() const;
    ui::View* questionPanel() const;

    bool inQuiz() const { return inQuiz_; }
    bool quizQuit() const { return quizQuit_; }
    int question() const { return question_; }
    int countAns() const { return countAns_; }
    float proc() const { return proc_; }
    const std::vector<std::string>& Questions() const { return questions_.Questions(); }

private:
    void buildQuizPanel();
    void slideQuizPanelIn();
    void drawQuestions();
    void showAlert(const std::string& title, const std::string& cancelTitle, std::vector<std::string> others);

    Hooks hooks_;
    ui::View* host_ = nullptr;
    std::vector<std::string> quizs; // the areas offered, the top region's sub-regions
    std::vector<std::shared_ptr<ui::Switch>> selectQuizs;
    QuizQuestions questions_;
    std::shared_ptr<ForInfo> viewForQuiz, forQuestion;
    QuestionCard card_{[this](ui::Button* sender) { nextQuestion(sender); }};
    bool inQuiz_ = false, quizQuit_ = false, quizLoad = false;
    int question_ = 0;
    int countAns_ = 0;
    float proc_ = 0;
    // What a correct answer adds to `proc`: 8.33 in a quiz of 12 questions (99.96 for all, shown as
    // 100), 100 / N in a quiz of N < 12 questions, which the chosen areas may force.
    double pointsPerCorrectAnswer = 8.33;
    Lifetime lifetime_;
};
