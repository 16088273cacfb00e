// Label bubbles of flags and the quiz's answer check. Pressing a flag opens a speech bubble above it
// with the structure's English name, its Latin name in parentheses and, when there is a description,
// an info button at the bubble's right end. The bubble is composed to the width of the longer name
// and takes a pointer near its left or right end when it would leave the screen. While a quiz
// question is on screen the press is the answer, with three attempts.
#include "TorvexView.h"

#include "Platform/AlertView.h"
#include "Platform/Animation.h"
#include "Platform/Bundle.h"
#include "Platform/Button.h"
#include "Platform/ImageView.h"
#include "Platform/Label.h"

#include "ForInfo.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

const ui::Rect pictureBand(0, 30, 320, 420);

// The length of a text as the phone platform counts it: UTF-16 code units.
std::size_t characterCount(const std::string& text) {
    std::size_t units = 0;
    for (unsigned char byte : text) {
        if ((byte & 0xC0) != 0x80)
            ++units;
        if ((byte & 0xF8) == 0xF0)
            ++units; // a character outside the basic plane takes two units
    }
    return units;
}

// A Latin name of one character or none is no name. Its line is not laid out for such a bubble, so it
// leaves the screen rather than show its parentheses where the previous bubble had it.
bool hasLatinName(const std::string& latin) {
    return characterCount(latin) > 1;
}

// The number a text starts with, the forgiving way: 0 when it starts with none.
int intValue(const std::string& text) {
    return static_cast<int>(std::strtol(text.c_str(), nullptr, 10));
}

void setAlphaIfPresent(ui::View* view, double alpha) {
    if (view)
        view->setAlpha(alpha);
}

void makeBubbleParts(TorvexView& viewer) {
    if (!viewer.labelForFlag) {
        viewer.labelForFlag = ui::make<ui::Label>();
        viewer.labelForFlag->setIdentifier("labelForFlag");
    }
    if (!viewer.labelForFlagLatin) {
        viewer.labelForFlagLatin = ui::make<ui::Label>();
        viewer.labelForFlagLatin->setIdentifier("labelForFlagLatin");
    }
    if (!viewer.hintOfFlag) {
        viewer.hintOfFlag = ui::make<ui::ImageView>();
        viewer.hintOfFlag->setIdentifier("hintOfFlag");
    }
}

void styleBubbleLine(ui::Label& line, const ui::Rect& frame) {
    line.setAlpha(0);
    line.setTextAlignment(ui::TextAlignment::Center);
    line.setFrame(frame);
    line.setBackgroundColor(ui::Color::clear());
    line.setTextColor(ui::Color::white());
}

void moveCenterX(ui::View& view, double shift) {
    view.setCenter({std::trunc(view.center().x + shift), view.center().y});
}

std::string attemptsLeftText(int attemptsLeft) {
    const char* format =
        attemptsLeft == 1 ? "Incorrect \u2013 %d more attempt" : "Incorrect \u2013 %d more attempts";
    char text[64];
    std::snprintf(text, sizeof text, format, attemptsLeft);
    return text;
}

// The press of a flag while a quiz question waits for its answer. The bubble of a wrong answer says
// how many attempts are left in place of the name; the third wrong answer or a right one settles
// the question and asks what next.
void checkAnswer(TorvexView& viewer, const std::string& title, const std::string& latin,
                 const std::string& description, float ax, float ay) {
    Quiz& quiz = viewer.quiz();
    Quiz::Answer answer = quiz.answer(title);
    if (answer == Quiz::Answer::NotAnAnswer)
        return;
    if (answer == Quiz::Answer::Correct) {
        if (hasLatinName(latin))
            viewer.labelForFlagLatin->setAlpha(1);
        quiz.askWhatNext(answer);
        return;
    }
    viewer.tempName = title;
    viewer.tempNameSet = true;
    viewer.createBubbleOfFlag(attemptsLeftText(3 - quiz.countAns()), latin, description, ax, ay);
    viewer.labelForFlag->setCenter({viewer.labelForFlag->center().x, viewer.hintOfFlag->center().y - 8});
    quiz.askWhatNext(answer);
}

} // namespace

void TorvexView::displayHint(ui::Button* sender) {
    hotSpots_.quiet();
    info_.hideInfo();
    // A bubble is a panel too: it opens alone.
    help_.hideHelp();
    views_.hideViews();
    index_.hideIndex();
    bool quiz = quiz_.isQuestionOnScreen();
    if (quiz && static_cast<unsigned>(viewHint) < flags.size() && tempNameSet && labelForFlag)
        labelForFlag->setText(tempName);
    if (!sender)
        return;

    // A title equal to the number of flags stands for the last flag; titles beyond it name no flag.
    int index = intValue(sender->currentTitle());
    if (static_cast<std::size_t>(index) == nodesOfFlags.size())
        --index;
    if (index < 0 || static_cast<std::size_t>(index) >= nodesOfFlags.size())
        return;
    viewHint = index;
    std::string infoId(nodesOfFlags[index]->attribute("infoid"));
    std::string title = getInfoOfPoint(infoId, 0);
    std::string latin = getInfoOfPoint(infoId, 1);
    std::string description = getInfoOfPoint(infoId, 2);

    int cx = static_cast<int>(sender->center().x), cy = static_cast<int>(sender->center().y);
    int ax = cx, ay = cy + 30;
    if (ui::ImageView* image = displayedImage(); image && isMagnified()) {
        int ox = static_cast<int>(-image->frame().x()), oy = static_cast<int>(-image->frame().y());
        ax = 2 * cx - ox;
        ay = 2 * cy - oy - 3;
    }
    if (!ifPoint({static_cast<double>(ax), static_cast<double>(ay)}, pictureBand))
        return;

    createBubbleOfFlag(title, latin, description, static_cast<float>(ax), static_cast<float>(ay));
    wviewHint = viewHint;
    if (quiz && quiz_.countAns() < 3)
        checkAnswer(*this, title, latin, description, static_cast<float>(ax), static_cast<float>(ay));

    ui::Animation::begin(0.4);
    labelForFlag->setAlpha(1);
    if (!(quiz && quiz_.countAns() <= 3) && hasLatinName(latin))
        labelForFlagLatin->setAlpha(1);
    hintOfFlag->setAlpha(1);
    setAlphaIfPresent(infoButtonOfHint.get(), 1);
    ui::Animation::commit();
}

std::string TorvexView::getInfoOfPoint(const std::string& infoId, int titleOrDesc) const {
    if (!allInfo || !allInfo->lastChild())
        return "null";
    for (const auto& entry : allInfo->lastChild()->children) {
        if (entry->attribute("id") != infoId)
            continue;
        switch (titleOrDesc) {
        case 0:
            return std::string(entry->attribute("title"));
        case 1:
            return std::string(entry->attribute("titlelatin"));
        case 2:
            return entry->leafvalue;
        default:
            return "null";
        }
    }
    return "null";
}

void TorvexView::createBubbleOfFlag(const std::string& title, const std::string& latin,
                                    const std::string& descriptin, float x, float y) {
    makeBubbleParts(*this);
    labelForFlag->setText(title);
    labelForFlag->setFont(labelForFlag->font().withSize(14));
    labelForFlagLatin->setText("(" + latin + ")");
    labelForFlagLatin->setFont(ui::Font::italicSystem(13));
    bool hasLatin = hasLatinName(latin);
    bool hasInfoButton = characterCount(descriptin) > 2;

    // The bubble is as wide as the longer line plus its rounded ends, but no wider than leaves it and
    // its info button room on the screen: a longer name ends with "…".
    double textWidth = characterCount(title) > characterCount(labelForFlagLatin->text())
                           ? ui::textWidth(title, labelForFlag->font())
                           : ui::textWidth(labelForFlagLatin->text(), labelForFlagLatin->font());
    ui::Image sheet = ui::Bundle::main().image("labelBubble.png");
    double k = sheet.size().width / 100;
    double widest = widestBubble(hasInfoButton);
    bool narrowed = textWidth + 40 * k > widest;
    double width = narrowed ? widest : textWidth + 40 * k;
    int wholeWidth = static_cast<int>(width);
    double top = std::trunc(y - 66);

    hintOfFlag->setImage(createBubbleWithWidth(wholeWidth));
    hintOfFlag->setFrame(
        {std::trunc(x - width / 2), top, static_cast<double>(wholeWidth), sheet.size().height});
    hintOfFlag->setAlpha(0);
    double lineX = std::trunc(hintOfFlag->frame().x() - 4 * k);
    styleBubbleLine(*labelForFlag, {lineX, hasLatin ? top : top + 10, width, 20});
    if (hasLatin) {
        styleBubbleLine(*labelForFlagLatin, {lineX, top + 18, width, 18});
    }
    if (narrowed) {
        // The lines keep to the bubble's body, inside its rounded ends.
        for (ui::Label* line : {labelForFlag.get(), labelForFlagLatin.get()}) {
            ui::Rect frame = line->frame();
            line->setFrame({frame.x() + 20 * k, frame.y(), frame.width() - 40 * k, frame.height()});
        }
    }
    if (!hasLatin) {
        labelForFlagLatin->removeFromSuperview();
        labelForFlagLatin->setAlpha(0);
    }

    // Near a screen edge the bubble moves inwards and takes the picture whose pointer sits near
    // that end, so that the pointer still points at the flag.
    ui::Rect bubble = hintOfFlag->frame();
    double infoButtonX = bubble.midX() + bubble.width() / 2 - 7;
    double shift = 0;
    std::string edgePicture;
    if (static_cast<int>(infoButtonX + 10) > 320) {
        shift = std::trunc(31 - bubble.width() / 2);
        edgePicture = "bubble_right";
    } else if (bubble.midX() - bubble.width() / 2 - 5 < 0) {
        shift = std::trunc(bubble.width() / 2 - 30);
        edgePicture = "bubble_left";
    }
    if (!edgePicture.empty()) {
        hintOfFlag->setCenter({hintOfFlag->center().x + shift, hintOfFlag->center().y});
        ui::Rect moved = hintOfFlag->frame();
        hintOfFlag->setFrame({std::trunc(moved.x()), std::trunc(moved.y()), moved.width(), moved.height()});
        moveCenterX(*labelForFlag, shift);
        if (hasLatin)
            moveCenterX(*labelForFlagLatin, shift);
        infoButtonX += shift;
        hintOfFlag->setImage(ui::Bundle::main().image(edgePicture, "png").stretchable(65, 25));
    }

    if (hintOfFlag->superview() == view().get()) {
        hintOfFlag->removeFromSuperview();
        labelForFlag->removeFromSuperview();
        if (hasLatin)
            labelForFlagLatin->removeFromSuperview();
    }
    view()->addSubview(hintOfFlag);
    if (hasLatin)
        view()->addSubview(labelForFlagLatin);
    view()->addSubview(labelForFlag);

    if (infoButtonOfHint)
        infoButtonOfHint->removeFromSuperview();
    if (hasInfoButton) {
        infoButtonOfHint =
            imageButton(descriptin, InfoHintButton, static_cast<float>(infoButtonX), y - 44, "infoButton");
        infoButtonOfHint->setIdentifier("infoButtonOfHint");
        infoButtonOfHint->setHidden(false);
        view()->addSubview(infoButtonOfHint);
    }
    keepBubbleOnScreen(hasInfoButton);
}

void TorvexView::waitAndDisplayHint() {
    view()->setUserInteractionEnabled(true);
    if (flagsIsHidden)
        displayFlags();
    after(0.15, &TorvexView::displayHintFromindex);
}

void TorvexView::displayHintFromindex() {
    if (wviewHint == -1)
        return;
    if (wviewHint >= 0 && static_cast<std::size_t>(wviewHint) < flags.size())
        displayHint(flags[wviewHint].get());
    else
        wviewHint = -1;
}

bool TorvexView::ifPoint(ui::Point point, const ui::Rect& rect) {
    return point.x >= rect.x() && point.y >= rect.y() && point.x <= rect.x() + rect.width() &&
           rect.y() + rect.height() >= point.y;
}

// A quiz verdict took the bubble's title line; the structure's name comes back.
void TorvexView::restoreBubbleTitle() {
    if (!labelForFlag || !labelForFlagLatin)
        return;
    labelForFlag->setText(tempName);
    if (labelForFlagLatin->text() != "()")
        labelForFlagLatin->setAlpha(1);
    if (quiz_.isQuestionOnScreen() && labelForFlagLatin->alpha() == 1 && hintOfFlag) {
        ui::Point bubble = hintOfFlag->center();
        labelForFlag->setCenter({bubble.x, bubble.y - 19});
    }
}

// A flag's bubble is shown: `viewHint`, taken as unsigned, indexes `flags` (so -1 never counts).
bool TorvexView::isBubbleShown() const {
    return static_cast<unsigned>(viewHint) < flags.size();
}
