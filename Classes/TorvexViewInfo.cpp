// The region information panel, which slides up from below the screen, and the flag detail panel,
// which fades in next to a flag's bubble.
#include "TorvexView.h"

#include "ForInfo.h"
#include "Platform/Animation.h"
#include "Platform/Button.h"
#include "Platform/ImageView.h"
#include "Platform/Label.h"

#include <algorithm>

namespace {

constexpr float tallestRegionPanel = 360;
// The detail panel keeps to the picture band.
constexpr float bandTop = 30, bandBottom = 450;

// In front of its siblings.
void bringToFront(const ui::View* view) {
    if (view && view->superview())
        view->superview()->bringSubviewToFront(view);
}

std::string withLineBreaks(const std::string& text) {
    std::string broken;
    broken.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        if (text.compare(at, 3, "***") == 0) {
            broken += '\n';
            at += 3;
        } else {
            broken += text[at++];
        }
    }
    return broken;
}

void setAlphaIfAny(ui::View* view, float alpha) {
    if (view)
        view->setAlpha(alpha);
}

// The detail panel's width follows the bubble's, within 240 and 310; a wider bubble gets 300.
float detailWidthFor(float bubbleWidth) {
    if (bubbleWidth < 240)
        return 240;
    if (bubbleWidth > 310)
        return 300;
    return static_cast<float>(static_cast<int>(bubbleWidth));
}

// The text as the panel's text view wraps and spaces it (5 points narrower than the panel, inside its
// margins), so that a panel that does not scroll has room for every line.
float textHeightInRegionPanel(const std::string& text, const ui::Font& font, float panelWidth) {
    float wrapWidth = panelWidth - 5 - 2 * static_cast<float>(ui::TextView::margin);
    return static_cast<float>(ui::textSize(text, font, wrapWidth, ui::TextView::lineSpacing(font)).height);
}

} // namespace

bool TorvexView::isBubbleShown() const {
    return static_cast<unsigned>(viewHint) < flags.size();
}

void TorvexView::displayInfoClickOfButton() {
    count = 0;
    hideViews();
    index_.hideIndex();
    help_.hideHelp();
    // The flags go as `hideFlags` takes them (which would close this panel again), so that the next
    // press of the flags button shows them.
    for (const auto& flag : flags)
        flag->setHidden(true);
    changeImageOnButton(flagButton.get(), false);
    flagsIsHidden = true;
    if (zoomButton)
        zoomButton->setHidden(true);
    if (Info->alpha() == 0)
        openRegionInfo();
    else
        closeRegionInfo();
}

void TorvexView::openRegionInfo() {
    for (const auto& button : buttons)
        button->setHidden(true);
    hideInfo();
    changeImageOnButton(infoButton.get(), true);
    auto& text = *Info->textViewForInfo();
    text.setText(info);
    float width = 300;
    float height = textHeightInRegionPanel(info, text.font(), width) + 26;
    bool scrolls = height > tallestRegionPanel;
    changeRectInfo(ui::Rect(0, 300, width, scrolls ? tallestRegionPanel : height));
    if (scrolls)
        text.setUserInteractionEnabled(true);
    float panelHeight = static_cast<float>(Info->frame().height());
    Info->setCenter({160, 460 + panelHeight / 2});
    Info->setAlpha(1);
    ui::Animation::begin(0.7);
    Info->setCenter({160, 450 - panelHeight / 2});
    ui::Animation::commit();
}

void TorvexView::closeRegionInfo() {
    ui::Animation::begin(0.7);
    Info->setCenter({160, 840});
    Info->setAlpha(0);
    ui::Animation::commit();
    changeImageOnButton(infoButton.get(), false);
    for (const auto& button : buttons)
        button->setHidden(false);
}

void TorvexView::displayInfo(ui::Button* sender) {
    if (isBubbleShown() && tempNameSet)
        restoreBubbleTitle();
    count = 0;
    ui::Animation::begin(0.5);
    forInfo->setAlpha(0);
    ui::Animation::commit();
    forInfo->removeFromSuperview();
    if (!isBubbleShown() || !hintOfFlag)
        return;

    forInfo->textViewForInfo()->setText(withLineBreaks(sender ? sender->currentTitle() : std::string()));
    ui::Rect bubble = hintOfFlag->frame();
    float width = detailWidthFor(static_cast<float>(bubble.width()));
    changeRectInfoView(ui::Rect(0, 0, width, 100));
    int height = static_cast<int>(forInfo->textViewForInfo()->contentSize().height + 10);
    if (height % 2 != 0)
        ++height;
    // A long text is cut to the picture band and scrolls, as the region panel's does.
    bool scrolls = height > bandBottom - bandTop;
    if (scrolls)
        height = static_cast<int>(bandBottom - bandTop);
    changeRectInfoView(ui::Rect(0, 0, width, height));
    if (scrolls)
        forInfo->textViewForInfo()->setUserInteractionEnabled(true);
    ui::Point center = detailPanelCenter(hintOfFlag->center(), static_cast<float>(bubble.height()), width,
                                         static_cast<float>(height));
    float half = static_cast<float>(height) / 2;
    center.y = std::clamp(static_cast<float>(center.y), bandTop + half, bandBottom - half);
    forInfo->setCenter(center);
    view()->addSubview(forInfo);
    // The bubble's names stay readable in front of the panel.
    bringToFront(labelForFlagLatin.get());
    bringToFront(labelForFlag.get());
    ui::Animation::begin(0.5);
    forInfo->setAlpha(1);
    ui::Animation::commit();
    flagInfo = true;
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

// Flush with the screen's edge when the bubble is near one; above the bubble, overlapping its upper
// part, unless there is no room above.
ui::Point TorvexView::detailPanelCenter(ui::Point bubble, float bubbleHeight, float width, float height) {
    float cx = static_cast<float>(bubble.x), cy = static_cast<float>(bubble.y);
    float x = cx;
    if (cx - width / 2 < 0)
        x = width / 2;
    else if (cx + width / 2 > 320)
        x = 320 - width / 2;
    float y = cy - height - bubbleHeight / 2 < 0 ? cy + bubbleHeight / 3 + height / 2
                                                 : cy - bubbleHeight / 2.5f - height / 2;
    return {static_cast<float>(static_cast<int>(x)), static_cast<float>(static_cast<int>(y))};
}

void TorvexView::hideInfo() {
    ui::Animation::begin(0.3);
    if (forInfo && forInfo->alpha() != 0)
        forInfo->setAlpha(0);
    if (Info && Info->alpha() != 0)
        displayInfoClickOfButton();
    if (isBubbleShown()) {
        setAlphaIfAny(labelForFlagLatin.get(), 0);
        setAlphaIfAny(labelForFlag.get(), 0);
        setAlphaIfAny(hintOfFlag.get(), 0);
        setAlphaIfAny(infoButtonOfHint.get(), 0);
    }
    ui::Animation::commit();
}
