// Putting a region and view on screen: the sub-regions' title buttons and rings, the view's settings,
// the picture, and the three transitions (zoom into a sub-region, zoom back out, cross-fade).
//
// The two picture views take turns: the one at alpha 0 receives the next picture, and every transition
// ends with their roles swapped.
#include "TorvexView.h"

#include "ForInfo.h"
#include "Platform/Animation.h"
#include "Platform/Bundle.h"
#include "Platform/Button.h"
#include "Platform/ImageView.h"

#include <filesystem>

namespace {

bool contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

void replaceAll(std::string& text, std::string_view from, std::string_view to) {
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

// A size in percent that cannot be shown (missing or 0) stands for the whole picture, so the
// transitions never divide by zero.
float usableScale(float percent) {
    return percent > 0 ? percent : 100;
}

} // namespace

TorvexView::ButtonPtr TorvexView::createButtonWithTitle(const std::string& title, float x, float y,
                                                        float width, float height) {
    auto button = ui::make<ui::Button>(ui::ButtonType::Custom, ui::Rect(x, y, width, height));
    button->setAdjustsImageWhenHighlighted(true);
    button->setTitle(title);
    button->setBackgroundColor(ui::Color::clear());
    button->addAction(whileAlive([this](ui::Button* sender) { enterToPart(sender); }));
    return button;
}

void TorvexView::updatePart(const NodeList& subRegions) {
    std::size_t slot = 0;
    for (const auto& region : subRegions) {
        if (region->children.empty())
            continue;
        TreeNode* view = viewNamed(region.get(), viewTorvex);
        if (!view)
            continue;
        std::string header(region->getHeader());
        bool showTitle = true;
        ButtonPtr titleButton, ring;
        float pulse = 0;
        for (const auto& area : view->children) {
            if (area->key != "hitarea")
                continue;
            if (area->attribute("exist") == "false")
                showTitle = false;
            float x = number(*area, "x"), y = number(*area, "y");
            if (contains(header, "- L") && static_cast<int>(x) == 380 && static_cast<int>(y) == 54) {
                scalpel->setTitle(header);
                scalpel->setHidden(false);
                return;
            }
            scalpel->setHidden(true);
            titleButton =
                createButtonWithTitle(header, x / 1.5f, y / 1.5f + 30, number(*area, "width") / 1.5f,
                                      number(*area, "height") / 1.5f);
            titleButton->setTitleFont(ui::Font::system(0));
            titleButton->setIdentifier("buttons");
            ring = imageButton(header, HotSpotButton, number(*area, "sx") / 1.5f,
                               number(*area, "sy") / 1.5f + 30, "circle");
            ring->setIdentifier("hotSpotButtons");
            // A ring is pressable while it visibly pulses, not only before its fade starts.
            ring->setHitTesting(ui::View::HitTesting::Presentation);
            pulse = number(*area, "sscale") / 500;
        }
        if (!ring)
            continue;
        hotSpots_.addRing(showTitle ? titleButton : nullptr, ring, slot, pulse);
        ++slot;
    }
}

void TorvexView::updateView(const NodeList& viewElements) {
    views_.viewsChanged();
    for (const auto& element : viewElements) {
        if (element->key == "hitarea") {
            hotSpots_.setHotSpotOn(!(element->attribute("exist") != "true" && hotSpots_.buttons().empty()));
        } else if (element->key == "points") {
            if (!element->children.empty() && !element->firstChild()->attribute("infoid").empty())
                bar_.show(Bar::Flags, true);
        } else if (element->key == "info") {
            for (const auto& entry : childrenOf(allInfo ? allInfo->firstChild() : nullptr)) {
                if (entry->attribute("id") == element->attribute("id")) {
                    info_.setRegionText(plainText(entry->leafvalue));
                    break;
                }
            }
            bar_.show(Bar::Info, true);
        } else if (element->key == "zoomout") {
            zoom = {number(*element, "x") / 1.5f, number(*element, "y") / 1.5f};
            scale = number(*element, "scale");
        }
    }
}

std::string TorvexView::plainText(std::string markedText) {
    replaceAll(markedText, "<p>", "");
    replaceAll(markedText, "</p>", "\n");
    replaceAll(markedText, "***", "\n");
    replaceAll(markedText, "<b>", "");
    replaceAll(markedText, "</b>", "");
    return markedText;
}

void TorvexView::loadPictureOfView(const TreeNode& view) {
    src = view.attribute("src");
    hiddenImage()->setImage(ui::Bundle::main().image(src));
    src = std::filesystem::path(src).parent_path().string();
}

// The new, small picture starts over the place of the region inside the old one and grows to fill the
// picture area, while the old picture grows past the screen about that place and fades.
void TorvexView::runEnteringTransition() {
    float s = usableScale(scale);
    ui::ImageView* shown = displayedImage();
    ui::ImageView* next = hiddenImage();
    next->setTransform(ui::AffineTransform::scale(s / 100, s / 100));
    if (zoom.x != 0) {
        xx = static_cast<float>(zoom.x + 0.5 * next->frame().width());
        yy = static_cast<float>(zoom.y + 0.5 * next->frame().height() + 30);
        next->setCenter({xx, yy});
    }
    ui::Animation::begin(0.8);
    ui::Animation::setDidStop(whileAlive([this] { endChangeLevel(); }));
    shown->setTransform(ui::AffineTransform::scale(100 / s, 100 / s));
    next->setTransform(ui::AffineTransform::identity());
    if (zoom.x != 0) {
        next->setCenter(center);
        ui::Point c = shown->center();
        float k = -100 / s;
        shown->setCenter({c.x + k * (xx - 0.5 * next->frame().width()),
                          c.y + k * (yy - 0.5 * next->frame().height() - 30)});
    }
    shown->setAlpha(0);
    next->setAlpha(1.0);
    ui::Animation::commit();
}

// The mirror of entering: the parent's picture shrinks from around the region's place to fill the
// picture area, while the region's picture shrinks into its place and fades. Without a known place
// (x of 0) both scale about the screen centre, as entering does.
void TorvexView::runLeavingTransition(const TreeNode& view, ui::Point zoomLeft, float scaleLeft) {
    float sb = usableScale(scaleLeft);
    ui::ImageView* shown = displayedImage();
    ui::ImageView* next = hiddenImage();
    next->setCenter(center);
    shown->setTransform(ui::AffineTransform::scale(sb / 100, sb / 100));
    loadPictureOfView(view);
    xx = static_cast<float>(0.5 * shown->frame().width() + zoomLeft.x);
    yy = static_cast<float>(0.5 * shown->frame().height() + 30 + zoomLeft.y);
    shown->setTransform(ui::AffineTransform::identity());
    if (zoomLeft.x != 0) {
        ui::Point c = next->center();
        float k = -100 / sb;
        next->setCenter({c.x + k * (xx - 0.5 * shown->frame().width()),
                         c.y + k * (yy - 0.5 * shown->frame().height() - 30)});
    }
    next->setTransform(ui::AffineTransform::scale(100 / sb, 100 / sb));
    ui::Animation::begin(0.8);
    ui::Animation::setDidStop(whileAlive([this] { endChangeLevel(); }));
    next->setTransform(ui::AffineTransform::identity());
    shown->setTransform(ui::AffineTransform::scale(sb / 100, sb / 100));
    if (zoomLeft.x != 0) {
        next->setCenter(center);
        shown->setCenter({xx, yy});
    }
    shown->setAlpha(0);
    next->setAlpha(1.0);
    ui::Animation::commit();
}

void TorvexView::animationImage() {
    ui::Animation::begin(0.85);
    ui::Animation::setDidStop(whileAlive([this] { endChangeLevel(); }));
    firstImage->setAlpha(firstImage->alpha() == 0 ? 1.0 : 0);
    secondImage->setAlpha(secondImage->alpha() == 0 ? 1.0 : 0);
    ui::Animation::commit();
}

void TorvexView::endChangeLevel() {
    if (journey_.phase() == Journey::Phase::Idle)
        view()->setUserInteractionEnabled(true);
}

void TorvexView::cleanButtons() {
    zoomOn = false;
    scalpel->setTitle("");
    hotSpots_.removeRings();
}

void TorvexView::cleanView() {
    info_.hideInfo();
    for (Bar::Item control : {Bar::Flags, Bar::Info, Bar::Magnifier})
        bar_.show(control, false);
    scalpel->setHidden(true);
    info_.setRegionText("");
    flagBubbles_.removeFlags();
}
