#pragma once
// What the quiz's question panel shows: the question's number, the structure asked for in English and
// Latin, the score, and "Pass" with a larger press area behind it. The panel was drawn for a question
// of two lines and a Latin name of one; longer ones make it taller.

#include "Classes/Lifetime.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <string>

class ForInfo;
namespace ui {
class Button;
class Label;
} // namespace ui

class QuestionCard {
public:
    // `onNext`: "Pass" (or its press area) was pressed.
    explicit QuestionCard(std::function<void(ui::Button*)> onNext);
    ~QuestionCard();

    // Loading: the labels, for `panel`, which they join with the first question.
    void create(ForInfo& panel);
    void showScore(float percent);
    // "Pass", "OK" or "Next", once the panel holds the button.
    void setPassTitle(const std::string& title);
    // Question `number` of `total`, naming a structure by its English and Latin names.
    void showQuestion(int number, std::size_t total, const std::string& english, const std::string& latin);
    void showCompleted();
    bool isCompleted() const;

private:
    void fillQuestionPanel();
    void fitQuestionPanel();

    std::function<void(ui::Button*)> onNext_;
    ForInfo* forQuestion = nullptr;
    std::shared_ptr<ui::Label> labelForQuestion, labelForQuestionLatin, numQuestion, procent;
    std::shared_ptr<ui::Button> passButton;
    std::shared_ptr<ui::Button> questionPressArea; // the larger button behind "Pass"
    Lifetime lifetime_;
};
