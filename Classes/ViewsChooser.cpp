// The views chooser's strip: its thumbnails and captions, and how it slides in and out.
#include "ViewsChooser.h"

#include "Platform/Animation.h"
#include "Platform/Button.h"
#include "Platform/Label.h"
#include "Platform/ScrollView.h"
#include "Platform/Timer.h"

ViewsChooser::ViewsChooser(Hooks hooks) : hooks_(std::move(hooks)) {}

ViewsChooser::~ViewsChooser() = default;

void ViewsChooser::addTo(ui::View& host) {
    host_ = &host;
    typeViews = ui::make<ui::ScrollView>(ui::Rect(-400, 300, 320, 150));
    typeViews->setIdentifier("typeViews");
    typeViews->setAlpha(0.8);
    typeViews->setBackgroundColor(ui::Color::black());
    updateViewButtons(hooks_.plainViews(), true);
    host.addSubview(typeViews);
}

bool ViewsChooser::isShown() const {
    return typeViews && typeViews->frame().x() == 0;
}

void ViewsChooser::displayViews() {
    hooks_.quietRings();
    hooks_.closeOtherPanels();
    if (updateViewFlag) {
        hooks_.showButtonPressed(true);
        updateViewButtons(hooks_.plainViews(), updateViewFlag);
        ui::Timer::scheduled(0.15, ui::Timer::Repeats::No, lifetime_.guard([this] { displayViews(); }));
    } else if (isShown()) {
        hideViews();
    } else {
        hooks_.showButtonPressed(true);
        typeViews->setHidden(false);
        std::shared_ptr<ui::ScrollView> strip = typeViews;
        strip->removeFromSuperview();
        host_->addSubview(strip);
        ui::Float width = strip->contentSize().width;
        ui::Float visible = width > 320 ? 320 : static_cast<int>(width);
        ui::Animation::run(0.8, [&] { strip->setFrame(ui::Rect(0, 300, 320, 150)); });
        strip->setContentOffset({width - visible, strip->contentOffset().y}, true);
        ui::Timer::scheduled(0.35, ui::Timer::Repeats::No, lifetime_.guard([this] { animatedViews(); }));
    }
    updateViewFlag = false;
}

// With the offset set at its far end by `displayViews`, the strip glides back to its start: a hint that
// it scrolls.
void ViewsChooser::animatedViews() {
    ui::Animation::run(1.0, [&] { typeViews->setContentOffset({0, typeViews->contentOffset().y}); });
}

void ViewsChooser::updateViewButtons(const PlainViews& names, bool flag) {
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
        std::shared_ptr<ui::Button> button = hooks_.makeThumbnail(name, static_cast<float>(x));
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

void ViewsChooser::hideViews() {
    if (!isShown())
        return;
    ui::Rect frame = typeViews->frame();
    ui::Animation::run(0.8, [&] {
        typeViews->setFrame(ui::Rect(frame.x() - frame.width(), frame.y(), frame.width(), frame.height()));
    });
    hooks_.showButtonPressed(false);
}
