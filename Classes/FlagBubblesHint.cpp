// Label bubbles of flags and the quiz's answer check. Pressing a flag opens a speech bubble above it
// with the structure's English name, its Latin name in parentheses and, when there is a description,
// an info button at the bubble's right end. The bubble is composed to the width of the longer name
// and takes a pointer near its left or right end when it would leave the screen. While a quiz
// question is on screen the press is the answer, with three attempts.
#include "FlagBubbles.h"

#include "Classes/Quiz.h"
#include "Classes/TreeNode.h"

#include "Platform/AlertView.h"
#include "Platform/Animation.h"
#include "Platform/Bundle.h"
#include "Platform/Button.h"
#include "Platform/ImageView.h"
#include "Platform/Label.h"

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

} // namespace

void FlagBubbles::makeBubbleParts() {
    if (!labelForFlag_) {
        labelForFlag_ = ui::make<ui::Label>();
        labelForFlag_->setIdentifier("labelForFlag");
    }
    if (!labelForFlagLatin_) {
        labelForFlagLatin_ = ui::make<ui::Label>();
        labelForFlagLatin_->setIdentifier("labelForFlagLatin");
    }
    if (!hintOfFlag_) {
        hintOfFlag_ = ui::make<ui::ImageView>();
        hintOfFlag_->setIdentifier("hintOfFlag");
    }
}

// The press of a flag while a quiz question waits for its answer. The bubble of a wrong answer says
// how many attempts are left in place of the name; the third wrong answer or a right one settles
// the question and asks what next.
void FlagBubbles::checkAnswer(const std::string& title, const std::string& latin,
                              const std::string& description, float ax, float ay) {
    Quiz& quiz = hooks_.quiz();
    Quiz::Answer answer = quiz.answer(title);
    if (answer == Quiz::Answer::NotAnAnswer)
        return;
    if (answer == Quiz::Answer::Correct) {
        if (hasLatinName(latin))
            labelForFlagLatin_->setAlpha(1);
        quiz.askWhatNext(answer);
        return;
    }
    tempName_ = title;
    tempNameSet_ = true;
    createBubbleOfFlag(attemptsLeftText(3 - quiz.countAns()), latin, description, ax, ay);
    labelForFlag_->setCenter({labelForFlag_->center().x, hintOfFlag_->center().y - 8});
    quiz.askWhatNext(answer);
}

void FlagBubbles::displayHint(ui::Button* sender) {
    hooks_.quietRings();
    hooks_.hideInfo();
    // A bubble is a panel too: it opens alone.
    hooks_.closeOtherPanels();
    Quiz& quizPart = hooks_.quiz();
    bool quiz = quizPart.isQuestionOnScreen();
    if (quiz && static_cast<unsigned>(viewHint_) < flags_.size() && tempNameSet_ && labelForFlag_)
        labelForFlag_->setText(tempName_);
    if (!sender)
        return;

    // A title equal to the number of flags stands for the last flag; titles beyond it name no flag.
    int index = intValue(sender->currentTitle());
    if (static_cast<std::size_t>(index) == nodesOfFlags_.size())
        --index;
    if (index < 0 || static_cast<std::size_t>(index) >= nodesOfFlags_.size())
        return;
    viewHint_ = index;
    std::string infoId(nodesOfFlags_[index]->attribute("infoid"));
    std::string title = getInfoOfPoint(infoId, 0);
    std::string latin = getInfoOfPoint(infoId, 1);
    std::string description = getInfoOfPoint(infoId, 2);

    int cx = static_cast<int>(sender->center().x), cy = static_cast<int>(sender->center().y);
    int ax = cx, ay = cy + 30;
    if (ui::ImageView* image = hooks_.displayedImage(); image && hooks_.isMagnified()) {
        int ox = static_cast<int>(-image->frame().x()), oy = static_cast<int>(-image->frame().y());
        ax = 2 * cx - ox;
        ay = 2 * cy - oy - 3;
    }
    if (!ifPoint({static_cast<double>(ax), static_cast<double>(ay)}, pictureBand))
        return;

    createBubbleOfFlag(title, latin, description, static_cast<float>(ax), static_cast<float>(ay));
    wviewHint_ = viewHint_;
    if (quiz && quizPart.countAns() < 3)
        checkAnswer(title, latin, description, static_cast<float>(ax), static_cast<float>(ay));

    ui::Animation::begin(0.4);
    labelForFlag_->setAlpha(1);
    if (!(quiz && quizPart.countAns() <= 3) && hasLatinName(latin))
        labelForFlagLatin_->setAlpha(1);
    hintOfFlag_->setAlpha(1);
    setAlphaIfPresent(infoButtonOfHint_.get(), 1);
    ui::Animation::commit();
}

std::string FlagBubbles::getInfoOfPoint(const std::string& infoId, int titleOrDesc) const {
    const TreeNode* allInfo = hooks_.allInfo();
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

void FlagBubbles::createBubbleOfFlag(const std::string& title, const std::string& latin,
                                     const std::string& descriptin, float x, float y) {
    makeBubbleParts();
    labelForFlag_->setText(title);
    labelForFlag_->setFont(labelForFlag_->font().withSize(14));
    labelForFlagLatin_->setText("(" + latin + ")");
    labelForFlagLatin_->setFont(ui::Font::italicSystem(13));
    bool hasLatin = hasLatinName(latin);
    bool hasInfoButton = characterCount(descriptin) > 2;

    // The bubble is as wide as the longer line plus its rounded ends, but no wider than leaves it and
    // its info button room on the screen: a longer name ends with "…".
    double textWidth = characterCount(title) > characterCount(labelForFlagLatin_->text())
                           ? ui::textWidth(title, labelForFlag_->font())
                           : ui::textWidth(labelForFlagLatin_->text(), labelForFlagLatin_->font());
    ui::Image sheet = ui::Bundle::main().image("labelBubble.png");
    double k = sheet.size().width / 100;
    double widest = widestBubble(hasInfoButton);
    bool narrowed = textWidth + 40 * k > widest;
    double width = narrowed ? widest : textWidth + 40 * k;
    int wholeWidth = static_cast<int>(width);
    double top = std::trunc(y - 66);

    hintOfFlag_->setImage(createBubbleWithWidth(wholeWidth));
    hintOfFlag_->setFrame(
        {std::trunc(x - width / 2), top, static_cast<double>(wholeWidth), sheet.size().height});
    hintOfFlag_->setAlpha(0);
    double lineX = std::trunc(hintOfFlag_->frame().x() - 4 * k);
    styleBubbleLine(*labelForFlag_, {lineX, hasLatin ? top : top + 10, width, 20});
    if (hasLatin) {
        styleBubbleLine(*labelForFlagLatin_, {lineX, top + 18, width, 18});
    }
    if (narrowed) {
        // The lines keep to the bubble's body, inside its rounded ends.
        for (ui::Label* line : {labelForFlag_.get(), labelForFlagLatin_.get()}) {
            ui::Rect frame = line->frame();
            line->setFrame({frame.x() + 20 * k, frame.y(), frame.width() - 40 * k, frame.height()});
        }
    }
    if (!hasLatin) {
        labelForFlagLatin_->removeFromSuperview();
        labelForFlagLatin_->setAlpha(0);
    }

    // Near a screen edge the bubble moves inwards and takes the picture whose pointer sits near
    // that end, so that the pointer still points at the flag.
    ui::Rect bubble = hintOfFlag_->frame();
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
        hintOfFlag_->setCenter({hintOfFlag_->center().x + shift, hintOfFlag_->center().y});
        ui::Rect moved = hintOfFlag_->frame();
        hintOfFlag_->setFrame({std::trunc(moved.x()), std::trunc(moved.y()), moved.width(), moved.height()});
        moveCenterX(*labelForFlag_, shift);
        if (hasLatin)
            moveCenterX(*labelForFlagLatin_, shift);
        infoButtonX += shift;
        hintOfFlag_->setImage(ui::Bundle::main().image(edgePicture, "png").stretchable(65, 25));
    }

    if (hintOfFlag_->superview() == host_) {
        hintOfFlag_->removeFromSuperview();
        labelForFlag_->removeFromSuperview();
        if (hasLatin)
            labelForFlagLatin_->removeFromSuperview();
    }
    host_->addSubview(hintOfFlag_);
    if (hasLatin)
        host_->addSubview(labelForFlagLatin_);
    host_->addSubview(labelForFlag_);

    if (infoButtonOfHint_)
        infoButtonOfHint_->removeFromSuperview();
    if (hasInfoButton) {
        infoButtonOfHint_ = hooks_.makeInfoButton(descriptin, static_cast<float>(infoButtonX), y - 44);
        infoButtonOfHint_->setIdentifier("infoButtonOfHint");
        infoButtonOfHint_->setHidden(false);
        host_->addSubview(infoButtonOfHint_);
    }
    keepBubbleOnScreen(hasInfoButton);
}

void FlagBubbles::waitAndDisplayHint() {
    hooks_.enableTouches();
    if (flagsIsHidden_)
        displayFlags();
    after(0.15, &FlagBubbles::displayHintFromindex);
}

void FlagBubbles::displayHintFromindex() {
    if (wviewHint_ == -1)
        return;
    if (wviewHint_ >= 0 && static_cast<std::size_t>(wviewHint_) < flags_.size())
        displayHint(flags_[wviewHint_].get());
    else
        wviewHint_ = -1;
}

bool FlagBubbles::ifPoint(ui::Point point, const ui::Rect& rect) {
    return point.x >= rect.x() && point.y >= rect.y() && point.x <= rect.x() + rect.width() &&
           rect.y() + rect.height() >= point.y;
}

void FlagBubbles::restoreBubbleTitle() {
    if (!isBubbleShown() || !tempNameSet_ || !labelForFlag_ || !labelForFlagLatin_)
        return;
    labelForFlag_->setText(tempName_);
    if (labelForFlagLatin_->text() != "()")
        labelForFlagLatin_->setAlpha(1);
    if (hooks_.quiz().isQuestionOnScreen() && labelForFlagLatin_->alpha() == 1 && hintOfFlag_) {
        ui::Point bubble = hintOfFlag_->center();
        labelForFlag_->setCenter({bubble.x, bubble.y - 19});
    }
}

bool FlagBubbles::isBubbleShown() const {
    return static_cast<unsigned>(viewHint_) < flags_.size();
}

ui::View* FlagBubbles::shownBubble() const {
    return isBubbleShown() ? hintOfFlag_.get() : nullptr;
}

void FlagBubbles::bringBubbleNamesToFront() {
    for (const auto* label : {labelForFlagLatin_.get(), labelForFlag_.get()}) {
        if (label && label->superview())
            label->superview()->bringSubviewToFront(label);
    }
}

void FlagBubbles::fadeBubble() {
    if (!isBubbleShown())
        return;
    for (ui::View* part : std::initializer_list<ui::View*>{labelForFlagLatin_.get(), labelForFlag_.get(),
                                                           hintOfFlag_.get(), infoButtonOfHint_.get()}) {
        if (part)
            part->setAlpha(0);
    }
}
