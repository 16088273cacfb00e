// The quiz: area choice, drawing of questions, question flow and score. Minimal for now.
#include "TorvexView.h"

#include <algorithm>

void TorvexView::displayQuiz() {}
void TorvexView::startQuiz(ui::Button*) {}
void TorvexView::selectQuestion(const NodeList&) {}

bool TorvexView::issetQuestion(const std::string& infoId) const {
    return std::find(Questions.begin(), Questions.end(), infoId) != Questions.end();
}

void TorvexView::hideQuiz() {}
void TorvexView::hideQuizView() {}
void TorvexView::delselectQuizButton() {}
void TorvexView::alertOKCancelAction(bool flag) {
    quizQuit = flag;
}
void TorvexView::alertView(ui::AlertView*, int) {}
void TorvexView::nextQuestion(ui::Button*) {}
