// The views chooser: a strip of thumbnails, one per plain view of the region, that slides in from the
// left over the lower part of the picture. The strip is shown exactly when its x origin is 0.
#include "TorvexView.h"

#include "Platform/Animation.h"
#include "Platform/Button.h"
#include "Platform/Label.h"
#include "Platform/ScrollView.h"

namespace {

bool isShown(const ui::View& strip) {
    return strip.frame().x() == 0;
}

} // namespace

// The first press after a region or view was shown rebuilds the strip and shows it 0.15 s later.
void TorvexView::displayViews() {
    hotSpots_.quiet();
    index_.hideIndex();
    info_.hideInfo();
    help_.hideHelp();
    if (updateViewFlag) {
        changeImageOnButton(typeViewButton.get(), true);
        updateViewButtons(imageViews_, updateViewFlag);
        after(0.15, &TorvexView::displayViews);
    } else if (isShown(*typeViews)) {
        hideViews();
    } else {
        changeImageOnButton(typeViewButton.get(), true);
        typeViews->setHidden(false);
        std::shared_ptr<ui::ScrollView> strip = typeViews;
        strip->removeFromSuperview();
        view()->addSubview(strip);
        ui::Float width = strip->contentSize().width;
        ui::Float visible = width > 320 ? 320 : static_cast<int>(width);
        ui::Animation::run(0.8, [&] { strip->setFrame(ui::Rect(0, 300, 320, 150)); });
        strip->setContentOffset({width - visible, strip->contentOffset().y}, true);
        after(0.35, &TorvexView::animatedViews);
    }
    updateViewFlag = false;
}

// With the offset set at its far end by `displayViews`, the strip glides back to its start: a hint that
// it scrolls.
void TorvexView::animatedViews() {
    ui::Animation::run(1.0, [&] { typeViews->setContentOffset({0, typeViews->contentOffset().y}); });
}

void TorvexView::updateViewButtons(const std::vector<std::pair<std::string, std::string>>& names, bool flag) {
    if (!flag)
        return;
    for (auto subviews = typeViews->subviews(); const auto& subview : subviews)
        subview->removeFromSuperview();
    if (names.empty())
        return;
    int x = 53;
    int step = 107;
    for (const auto& [name, picture] : names) {
        auto caption = ui::make<ui::Label>(ui::Rect(x - 53, -3, 107, 20));
        caption->setIdentifier("viewCaption");
        caption->setText(name);
        caption->setFont(caption->font().withSize(12));
        caption->setBackgroundColor(ui::Color::clear());
        caption->setTextColor(ui::Color::white());
        caption->setTextAlignment(ui::TextAlignment::Center);
        ButtonPtr button = imageButton(name, ViewButton, static_cast<float>(x), 82, name);
        button->setIdentifier("viewButton");
        button->setAlpha(1.0);
        button->setHidden(false);
        typeViews->addSubview(caption);
        typeViews->addSubview(button);
        x += step;
    }
    typeViews->setContentSize({static_cast<ui::Float>(step) * static_cast<ui::Float>(names.size()) + 10, 0});
    typeViews->setShowsHorizontalScrollIndicator(true);
    typeViews->setScrollsToTop(true);
}

void TorvexView::hideViews() {
    if (!typeViews || !isShown(*typeViews))
        return;
    ui::Rect frame = typeViews->frame();
    ui::Animation::run(0.8, [&] {
        typeViews->setFrame(ui::Rect(frame.x() - frame.width(), frame.y(), frame.width(), frame.height()));
    });
    changeImageOnButton(typeViewButton.get(), false);
}

void TorvexView::changeView(ui::Button* sender) {
    if (zoomOn)
        back();
    std::string name = sender->currentTitle();
    if (name == viewTorvex)
        return;
    oldViewTorvex = viewTorvex;
    viewTorvex = name;
    journey_.viewChosen(name);
    after(0.75, &TorvexView::changeViewAndEnter);
}

void TorvexView::changeViewAndEnter() {
    journey_.viewChangeDone();
    refresh();
}
