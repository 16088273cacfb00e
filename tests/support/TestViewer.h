#pragma once
// The viewer started in process as the program starts it, and `LoadedViewerTest`, a fixture whose tests
// start from it loaded on a group's atlas and act as a user does (regions, taps, swipes, controls, flags).
#include "Classes/ForInfo.h"
#include "Classes/TorvexView.h"
#include "Platform/Application.h"
#include "Platform/Bundle.h"
#include "Platform/Button.h"
#include "Platform/Driver.h"
#include "Platform/ImageView.h"
#include "Platform/Label.h"
#include "tests/support/TestBundle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <memory>
#include <string>

namespace testviewer {

// A fresh toolkit with a viewer in its window that has started loading `bundle`.
inline std::unique_ptr<TorvexView> startViewer(const std::string& bundle,
                                               std::function<void(TorvexView*)> loaded = {}) {
    ui::Driver::resetToolkit();
    ui::Bundle::main().setResourcePath(bundle);
    auto viewer = std::make_unique<TorvexView>();
    ui::Application::shared().window()->addSubview(viewer->view());
    viewer->startloadingWithCallBackTarget(std::move(loaded));
    return viewer;
}

// The region named `header`: `region` itself or one below it; null when there is none.
inline TreeNode* regionNamed(TreeNode* region, const std::string& header) {
    if (!region || region->getHeader() == header)
        return region;
    for (const auto& sub : TorvexView::subRegionsOf(region)) {
        if (TreeNode* found = regionNamed(sub.get(), header))
            return found;
    }
    return nullptr;
}

// The region named `header` anywhere in the tree that `region` belongs to.
inline TreeNode* regionInTree(TreeNode* region, const std::string& header) {
    while (TorvexView::hasParentRegion(region))
        region = TorvexView::ancestor(region, 2);
    return regionNamed(region, header);
}

// WCAG's relative luminance of an opaque colour, and the contrast ratio of two luminances.
inline double luminance(const ui::Color& c) {
    auto linear = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * linear(c.r) + 0.7152 * linear(c.g) + 0.0722 * linear(c.b);
}
inline double contrast(double one, double other) {
    return (std::max(one, other) + 0.05) / (std::min(one, other) + 0.05);
}

// The artwork of a test bundle (tests/support/TestBundle.h): the build's, or flat pictures of known sizes.
enum class Artwork { Build, Flat };

class LoadedViewerTest : public ::testing::Test {
protected:
    // Every test starts `settle` seconds after loading (1: the first picture has faded in).
    explicit LoadedViewerTest(std::string atlas, Artwork artwork = Artwork::Build, double settle = 1.0)
        : atlas_(std::move(atlas)), artwork_(artwork), settle_(settle) {}

    void SetUp() override {
        static std::map<std::string, std::string> bundles;
        std::string& bundle = bundles[atlas_];
        if (bundle.empty())
            bundle = artwork_ == Artwork::Flat ? testbundle::withFlatArtwork(atlas_)
                                               : testbundle::withBuildArtwork(atlas_);
        bundle_ = bundle;
        viewer_ = startViewer(bundle, [this](TorvexView*) { ++loadedCallbacks_; });
        driver.advance(settle_);
    }
    void TearDown() override {
        viewer_.reset();
        ui::Driver::resetToolkit();
    }

    TorvexView& viewer() { return *viewer_; }
    FlagBubbles& bubbles() { return viewer_->flagBubbles(); }
    void wait(double seconds) { ASSERT_TRUE(driver.advance(seconds)); }

    // Puts `region` (anywhere in the tree) on screen in `view` as a user gets there; the cross-fade ends.
    void showRegion(const std::string& region, const std::string& view = "Anterior") {
        TreeNode* found = regionInTree(viewer().currentRegion(), region);
        ASSERT_NE(found, nullptr) << region;
        viewer().showRegion(*found, view);
        driver.advance(1.0);
    }

    // Touches: one finger down and up at `point`, or from `from` to `to` with no time passing.
    void tap(ui::Point point) { driver.tap(point); }
    void tap(const ui::View& view) { driver.tap(view.convertTo(view.bounds().center(), nullptr)); }
    void swipe(ui::Point from, ui::Point to) { driver.drag(from, to, 0); }
    // Presses the control (or the alert's button) titled so, failing the test when there is none.
    void press(const std::string& text) {
        auto pressed = driver.press(text);
        ASSERT_TRUE(pressed) << pressed.error();
    }
    void press(const std::string& text, double then) { // and lets `then` seconds pass
        press(text);
        wait(then);
    }
    void pressAlertButton(const std::string& title) {
        auto pressed = driver.alert(title);
        ASSERT_TRUE(pressed) << pressed.error();
    }
    // The title of the open alert, "" when none is open.
    std::string alertTitle() {
        auto alert = driver.state()["alert"];
        return alert.is_null() ? std::string() : alert["title"].template get<std::string>();
    }

    // Flags: opened as the flags button does, by position, or by the structure their point stands for.
    void showFlags() {
        bubbles().displayFlags();
        driver.advance(0.5);
    }
    ui::Button& flag(int index) { return *bubbles().flags().at(static_cast<std::size_t>(index)); }
    ui::Point flagOnScreen(int index) {
        return flag(index).convertTo(flag(index).bounds().center(), nullptr);
    }
    void pressFlag(int index) { tap(flagOnScreen(index)); }
    void openBubbleOf(int index) { // shows the flags, presses one and lets its bubble open
        showFlags();
        pressFlag(index);
        driver.advance(0.5);
    }
    ui::Button* flagOf(const std::string& infoId) {
        for (std::size_t i = 0; i < bubbles().flags().size() && i < bubbles().nodesOfFlags().size(); ++i) {
            if (bubbles().nodesOfFlags()[i]->attribute("infoid") == infoId)
                return bubbles().flags()[i].get();
        }
        return nullptr;
    }

    ui::ImageView& picture() { return *viewer().displayedImage(); }

    ui::Driver driver;
    std::unique_ptr<TorvexView> viewer_;
    std::string bundle_;      // the bundle's folder
    int loadedCallbacks_ = 0; // how often loading called back

private:
    std::string atlas_;
    Artwork artwork_;
    double settle_;
};

} // namespace testviewer
