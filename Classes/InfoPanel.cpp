#include "InfoPanel.h"

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

// Flush with the screen's edge when the bubble is near one; above the bubble, overlapping its upper
// part, unless there is no room above.
ui::Point detailPanelCenter(ui::Point bubble, float bubbleHeight, float width, float height) {
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

} // namespace

void InfoPanel::displayInfoClickOfButton() {
    hooks_.quietRings();
    hooks_.closeOtherPanels();
    hooks_.putFlagsAway();
    if (Info->alpha() == 0)
        openRegionInfo();
    else
        closeRegionInfo();
}

void InfoPanel::openRegionInfo() {
    hooks_.showRegionButtons(false);
    hideInfo();
    hooks_.showButtonPressed(true);
    auto& text = *Info->textViewForInfo();
    text.setText(info_);
    float width = 300;
    float height = textHeightInRegionPanel(info_, text.font(), width) + 26;
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

void InfoPanel::closeRegionInfo() {
    ui::Animation::begin(0.7);
    Info->setCenter({160, 840});
    Info->setAlpha(0);
    ui::Animation::commit();
    hooks_.showButtonPressed(false);
    hooks_.showRegionButtons(true);
}

void InfoPanel::displayInfo(ui::Button* sender) {
    hooks_.restoreBubbleTitle();
    hooks_.quietRings();
    ui::Animation::begin(0.5);
    forInfo->setAlpha(0);
    ui::Animation::commit();
    forInfo->removeFromSuperview();
    ui::View* bubbleView = hooks_.shownBubble();
    if (!bubbleView)
        return;

    forInfo->textViewForInfo()->setText(withLineBreaks(sender ? sender->currentTitle() : std::string()));
    ui::Rect bubble = bubbleView->frame();
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
    ui::Point center = detailPanelCenter(bubbleView->center(), static_cast<float>(bubble.height()), width,
                                         static_cast<float>(height));
    float half = static_cast<float>(height) / 2;
    center.y = std::clamp(static_cast<float>(center.y), bandTop + half, bandBottom - half);
    forInfo->setCenter(center);
    host_->addSubview(forInfo);
    // The bubble's names stay readable in front of the panel.
    hooks_.bringBubbleNamesToFront();
    ui::Animation::begin(0.5);
    forInfo->setAlpha(1);
    ui::Animation::commit();
    flagInfo_ = true;
}

void InfoPanel::hideInfo() {
    ui::Animation::begin(0.3);
    if (forInfo && forInfo->alpha() != 0)
        forInfo->setAlpha(0);
    if (Info && Info->alpha() != 0)
        displayInfoClickOfButton();
    hooks_.fadeBubble();
    ui::Animation::commit();
}

InfoPanel::InfoPanel(Hooks hooks) : hooks_(std::move(hooks)) {}

InfoPanel::~InfoPanel() = default;

void InfoPanel::addTo(ui::View& host) {
    host_ = &host;
    Info = ui::make<ForInfo>();
    Info->setIdentifier("Info");
    Info->setAlpha(0);
    host.insertSubview(Info, 5);
    forInfo = ui::make<ForInfo>();
    forInfo->setIdentifier("forInfo");
    forInfo->setAlpha(0);
}

void InfoPanel::changeRectInfo(const ui::Rect& rect) {
    if (!Info)
        return;
    Info->setFrame(rect);
    Info->drawRect(rect);
}

void InfoPanel::changeRectInfoView(const ui::Rect& rect) {
    if (!forInfo)
        return;
    forInfo->drawRect(rect);
    forInfo->setFrame(rect);
}

void InfoPanel::fadeDetailPanel() {
    if (forInfo && forInfo->alpha() != 0)
        forInfo->setAlpha(0);
}

bool InfoPanel::isDetailPanelFullyShown() const {
    return forInfo && forInfo->alpha() == 1;
}

bool InfoPanel::isRegionPanelShown() const {
    return Info && Info->alpha() != 0;
}

ui::View* InfoPanel::regionPanel() const {
    return Info.get();
}

ui::View* InfoPanel::detailPanel() const {
    return forInfo.get();
}
