#include "QuestionCard.h"

#include "ForInfo.h"
#include "Platform/Button.h"
#include "Platform/Label.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

std::string formatted(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

const ui::Color kTitleYellow = ui::Color::rgb255(226, 234, 123);

} // namespace

QuestionCard::QuestionCard(std::function<void(ui::Button*)> onNext) : onNext_(std::move(onNext)) {}

QuestionCard::~QuestionCard() = default;

void QuestionCard::create(ForInfo& panel) {
    forQuestion = &panel;
    auto makeLabel = [](const char* field, const ui::Rect& frame, const ui::Color& textColor) {
        auto label = ui::make<ui::Label>(frame);
        label->setIdentifier(field);
        label->setFont(label->font().withSize(13));
        label->setBackgroundColor(ui::Color::clear());
        label->setTextColor(textColor);
        return label;
    };
    labelForQuestion = makeLabel("labelForQuestion", {10, 30, 240, 40}, ui::Color::white());
    labelForQuestion->setNumberOfLines(2);
    labelForQuestionLatin = makeLabel("labelForQuestionLatin", {10, 52, 240, 40}, kTitleYellow);
    numQuestion = makeLabel("numQuestion", {10, 10, 140, 20}, ui::Color::white());
    procent = makeLabel("procent", {250, 10, 40, 20}, ui::Color::white());
}

void QuestionCard::showScore(float percent) {
    procent->setText(formatted("%.0f %%", percent));
}

void QuestionCard::setPassTitle(const std::string& title) {
    if (passButton)
        passButton->setTitle(title);
}

bool QuestionCard::isCompleted() const {
    return labelForQuestion->text() == "Quiz completed";
}

void QuestionCard::showCompleted() {
    labelForQuestion->setText("Quiz completed");
    labelForQuestionLatin->setText("");
    setPassTitle("OK");
    fitQuestionPanel();
}

void QuestionCard::showQuestion(int number, std::size_t total, const std::string& english,
                                const std::string& latin) {
    char heading[64];
    std::snprintf(heading, sizeof heading, "Question %d of %zu:", number, total);
    numQuestion->setText(heading);
    bool hasLatin = latin.size() > 1;
    labelForQuestion->setText("Please zoom in and identify the location of the " + english +
                              (hasLatin ? "," : "."));
    labelForQuestionLatin->setText(hasLatin ? "(" + latin + ")." : "");
    if (!labelForQuestion->superview())
        fillQuestionPanel();
    fitQuestionPanel();
}

// The panel was drawn for a question of two lines and a Latin name of one. Each line more that they
// wrap to, measured as the labels wrap them, moves what lies below down and makes the panel taller.
void QuestionCard::fitQuestionPanel() {
    auto linesBeyond = [](const ui::Label& label, int planned) {
        float line = static_cast<float>(ui::lineHeight(label.font()));
        float height =
            static_cast<float>(ui::textSize(label.text(), label.font(), label.frame().width()).height);
        int lines = line > 0 ? static_cast<int>(std::lround(height / line)) : 0;
        return static_cast<float>(std::max(lines - planned, 0)) * line;
    };
    float belowQuestion = linesBeyond(*labelForQuestion, 2);
    float belowLatin = belowQuestion + linesBeyond(*labelForQuestionLatin, 1);
    labelForQuestion->setNumberOfLines(0);
    labelForQuestion->setFrame(ui::Rect(10, 30, 240, 40 + belowQuestion));
    labelForQuestionLatin->setNumberOfLines(0);
    labelForQuestionLatin->setFrame(ui::Rect(10, 52 + belowQuestion, 240, 40 + belowLatin - belowQuestion));
    if (questionPressArea)
        questionPressArea->setFrame(ui::Rect(205, 67 + belowLatin, 95, 50));
    if (passButton)
        passButton->setFrame(ui::Rect(220, 82 + belowLatin, 70, 25));
    ui::Rect panel = forQuestion->frame();
    forQuestion->setFrame(ui::Rect(panel.x(), panel.y(), panel.width(), 120 + belowLatin));
    forQuestion->updateView();
}

// The larger invisible button behind "Pass" only widens the area that takes the press.
void QuestionCard::fillQuestionPanel() {
    for (const auto& label : {labelForQuestionLatin, labelForQuestion, numQuestion, procent})
        forQuestion->addSubview(label);
    questionPressArea = ui::make<ui::Button>(ui::ButtonType::Custom, ui::Rect(205, 67, 95, 50));
    questionPressArea->setTitle("Start");
    questionPressArea->addAction(lifetime_.guard([this](ui::Button* sender) { onNext_(sender); }));
    forQuestion->addSubview(questionPressArea);
    passButton = ui::make<ui::Button>(ui::ButtonType::RoundedRect, ui::Rect(220, 82, 70, 25));
    passButton->setIdentifier("passButton");
    passButton->setTitle("Pass");
    passButton->addAction(lifetime_.guard([this](ui::Button* sender) { onNext_(sender); }));
    forQuestion->addSubview(passButton);
}
