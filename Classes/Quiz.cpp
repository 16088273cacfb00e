#include "Quiz.h"

#include "ForInfo.h"
#include "Platform/AlertView.h"
#include "Platform/Animation.h"
#include "Platform/Button.h"
#include "Platform/Label.h"
#include "Platform/Switch.h"
#include "TreeNode.h"

#include <algorithm>

namespace {

bool isOnScreen(const ui::View* view) {
    return view && view->superview();
}

} // namespace

void Quiz::displayQuiz() {
    hooks_.closeOtherPanels();
    if (inQuiz_) {
        alertOKCancelAction(false);
    } else {
        inQuiz_ = true;
        if (!quizLoad)
            buildQuizPanel();
        slideQuizPanelIn();
    }
    hooks_.showButtonPressed(true);
}

void Quiz::buildQuizPanel() {
    host_->addSubview(viewForQuiz);
    auto heading = ui::make<ui::Label>(ui::Rect(15, 7, 260, 40));
    heading->setText("Please select which areas you would like to be tested on:");
    heading->setFont(ui::Font::system(14));
    heading->setBackgroundColor(ui::Color::clear());
    heading->setNumberOfLines(2);
    heading->setTextAlignment(ui::TextAlignment::Center);
    heading->setTextColor(ui::Color::white());
    viewForQuiz->addSubview(heading);

    float y = 50;
    for (std::size_t i = 0; i < quizs.size(); ++i) {
        auto areaSwitch = ui::make<ui::Switch>(ui::Rect(10, y, 40, 20));
        areaSwitch->setTag(static_cast<int>(i));
        areaSwitch->setIdentifier("quizArea " + quizs[i]);
        selectQuizs.push_back(areaSwitch);
        viewForQuiz->addSubview(areaSwitch);
        auto title = ui::make<ui::Label>(ui::Rect(120, y + 3, 160, 20));
        title->setText(quizs[i]);
        title->setFont(ui::Font::system(14));
        title->setBackgroundColor(ui::Color::clear());
        title->setTextColor(ui::Color::white());
        viewForQuiz->addSubview(title);
        y += 35;
    }
    auto startArea = ui::make<ui::Button>(ui::ButtonType::Custom, ui::Rect(185, y, 95, 50));
    startArea->addAction(lifetime_.guard([this](ui::Button* sender) { startQuiz(sender); }));
    viewForQuiz->addSubview(startArea);
    auto start = ui::make<ui::Button>(ui::ButtonType::RoundedRect, ui::Rect(199, y, 72, 26));
    start->setIdentifier("startButton");
    start->setTitle("Start");
    start->addAction(lifetime_.guard([this](ui::Button* sender) { startQuiz(sender); }));
    viewForQuiz->addSubview(start);
    quizLoad = true;
    viewForQuiz->setFrame(ui::Rect(400, 480 - (y + 40) - 30, 300, y + 40));
}

// The question panel joins the view only when questions start: while it is there, pressing a flag
// answers a question.
void Quiz::slideQuizPanelIn() {
    viewForQuiz->removeFromSuperview();
    host_->addSubview(viewForQuiz);
    if (isOnScreen(forQuestion.get()))
        bringQuestionPanelToFront();
    ui::Rect setUp = viewForQuiz->frame(), questions = forQuestion->frame();
    ui::Animation::begin(1.0);
    viewForQuiz->setFrame(ui::Rect(10, setUp.y(), 300, setUp.height()));
    forQuestion->setFrame(ui::Rect(400, questions.y(), 300, questions.height()));
    ui::Animation::commit();
}

// The areas switched on, by their nodes.
void Quiz::drawQuestions() {
    std::vector<const TreeNode*> areas;
    for (const auto& areaSwitch : selectQuizs) {
        if (!areaSwitch->isOn() || static_cast<std::size_t>(areaSwitch->tag()) >= quizs.size())
            continue;
        if (const TreeNode* area = hooks_.areaNamed(quizs[static_cast<std::size_t>(areaSwitch->tag())]))
            areas.push_back(area);
    }
    questions_.draw(areas);
}

void Quiz::startQuiz(ui::Button*) {
    proc_ = 0;
    bool anyArea =
        std::any_of(selectQuizs.begin(), selectQuizs.end(), [](const auto& s) { return s->isOn(); });
    if (!anyArea)
        return;
    questions_.clear();
    drawQuestions();
    if (questions_.empty())
        return;
    pointsPerCorrectAnswer = questions_.size() == QuizQuestions::questionsPerQuiz
                                 ? 8.33
                                 : 100.0 / static_cast<double>(questions_.size());
    nextQuestion(nullptr);

    ui::Point setUpCenter = viewForQuiz->center();
    ui::Rect setUp = viewForQuiz->frame();
    host_->addSubview(forQuestion);
    forQuestion->setFrame(ui::Rect(0, 800, 300, forQuestion->frame().height()));
    forQuestion->setCenter({918.0, setUpCenter.y});
    hooks_.forgetTouch();
    ui::Animation::begin(0.7);
    ui::Animation::setDidStop(lifetime_.guard([this] { hideQuizView(); }));
    forQuestion->setCenter(setUpCenter);
    viewForQuiz->setFrame(ui::Rect(848, setUp.y(), 300, setUp.height()));
    ui::Animation::commit();
}

// The question panel leaves the view once it has slid out, unless a new quiz has begun meanwhile, so
// that flags pressed afterwards are no answers and regions entered later raise no flags.
void Quiz::hideQuiz() {
    inQuiz_ = false;
    if (!questions_.empty()) {
        question_ = 0;
        questions_.clear();
    }
    hooks_.showButtonPressed(false);
    if (!isOnScreen(viewForQuiz.get()) && !isOnScreen(forQuestion.get()))
        return;
    ui::Rect setUp = viewForQuiz->frame(), questions = forQuestion->frame();
    ui::Animation::begin(0.75);
    ui::Animation::setDidStop(lifetime_.guard([this] {
        if (questions_.empty())
            forQuestion->removeFromSuperview();
    }));
    viewForQuiz->setFrame(ui::Rect(400, setUp.y(), 300, setUp.height()));
    forQuestion->setFrame(ui::Rect(400, questions.y(), 300, questions.height()));
    ui::Animation::commit();
    hooks_.redrawView();
}

void Quiz::hideQuizView() {
    viewForQuiz->removeFromSuperview();
}

void Quiz::delselectQuizButton() {
    if (inQuiz_)
        hideQuiz();
    forQuestion->removeFromSuperview();
}

void Quiz::alertOKCancelAction(bool flag) {
    auto alert = ui::make<ui::AlertView>(
        "Are you sure want to get out of the quiz?", "",
        lifetime_.guard([this](ui::AlertView* sender, int index) { alertView(sender, index); }), "NO",
        std::vector<std::string>{"YES"});
    alert->show();
    quizQuit_ = flag;
}

// The one answer to every alert of the viewer: "NO" or "Next" (0), "YES" or "Find" (1). Which alert it
// was shows in `countAns` (3: the question is settled) and `quizQuit`.
void Quiz::alertView(ui::AlertView*, int buttonIndex) {
    if (!isOnScreen(viewForQuiz.get()) && !isOnScreen(forQuestion.get()))
        return;
    if (buttonIndex == 0) {
        quizQuit_ = false;
        if (countAns_ == 3)
            nextQuestion(nullptr);
        return;
    }
    if (buttonIndex != 1) {
        quizQuit_ = false;
        return;
    }
    if (countAns_ == 3 && !quizQuit_) {
        countAns_ = 4;
        if (question_ >= 1 && static_cast<std::size_t>(question_) <= questions_.size())
            hooks_.goToPart(questions_[static_cast<std::size_t>(question_ - 1)]);
        quizQuit_ = false;
        return;
    }
    hideQuiz();
    if (quizQuit_)
        hooks_.displayIndex();
    quizQuit_ = false;
}

void Quiz::nextQuestion(ui::Button*) {
    hooks_.backToStart();
    countAns_ = 0;
    card_.showScore(proc_);
    card_.setPassTitle("Pass");
    if (static_cast<std::size_t>(question_) >= questions_.size()) {
        if (card_.isCompleted()) {
            hideQuiz();
            return;
        }
        card_.showCompleted();
        return;
    }
    const std::string& id = questions_[static_cast<std::size_t>(question_)];
    card_.showQuestion(question_ + 1, questions_.size(), hooks_.infoOfPoint(id, 0),
                       hooks_.infoOfPoint(id, 1));
    ++question_;
}

Quiz::Quiz(Hooks hooks) : hooks_(std::move(hooks)) {}

Quiz::~Quiz() = default;

void Quiz::createQuizPanels(ui::View& host, std::vector<std::string> areaTitles) {
    host_ = &host;
    quizs = std::move(areaTitles);
    float height = 35.0f * static_cast<float>(quizs.size()) + 100;
    viewForQuiz = ui::make<ForInfo>(ui::Rect(400, 480 - height - 30, 300, height));
    viewForQuiz->setIdentifier("viewForQuiz");
    forQuestion = ui::make<ForInfo>(ui::Rect(400, 335, 300, 120));
    forQuestion->setIdentifier("forQuestion");
    forQuestion->setCenter(viewForQuiz->center());
    card_.create(*forQuestion);
}

Quiz::Answer Quiz::answer(const std::string& englishName) {
    // Without a current question there is nothing to compare the press with.
    if (question_ < 1 || static_cast<std::size_t>(question_) > questions_.size())
        return Answer::NotAnAnswer;
    if (englishName == hooks_.infoOfPoint(questions_[static_cast<std::size_t>(question_ - 1)], 0)) {
        proc_ = static_cast<float>(static_cast<double>(proc_) + pointsPerCorrectAnswer);
        return Answer::Correct;
    }
    countAns_ += 1;
    return countAns_ == 3 ? Answer::LastWrong : Answer::Wrong;
}

void Quiz::askWhatNext(Answer answer) {
    if (answer == Answer::Correct) {
        showAlert("Correct answer", "Next", {});
        countAns_ = 3;
    } else if (answer == Answer::LastWrong) {
        showAlert("Incorrect- No More Attempts", "Next", {"Find"});
    }
}

void Quiz::showAlert(const std::string& title, const std::string& cancelTitle,
                     std::vector<std::string> others) {
    auto alert = ui::make<ui::AlertView>(
        title, "", lifetime_.guard([this](ui::AlertView* sender, int index) { alertView(sender, index); }),
        cancelTitle, std::move(others));
    alert->show();
}

void Quiz::arrivedAtAnswer() {
    if (countAns_ > 3)
        card_.setPassTitle("Next");
}

void Quiz::bringQuestionPanelToFront() {
    std::shared_ptr<ForInfo> panel = forQuestion;
    panel->removeFromSuperview();
    host_->addSubview(panel);
}

bool Quiz::isQuestionOnScreen() const {
    return isOnScreen(forQuestion.get());
}

bool Quiz::isSetUpOnScreen() const {
    return isOnScreen(viewForQuiz.get());
}

ui::View* Quiz::setUpPanel() const {
    return viewForQuiz.get();
}

ui::View* Quiz::questionPanel() const {
    return forQuestion.get();
}
