#pragma once
// The viewer put on screen as the program puts it there, for the test groups that drive it, and the
// regions of its tree found by name. Header-only, so that every test group may use it.
//
// `LoadedViewerTest` is a fixture whose every test starts from the viewer loaded from an atlas of
// tests/data beside the build's artwork (the bundle made once per test program), with the clock moved
// on by a second, and ends with the toolkit afresh.

#include "Classes/TorvexView.h"
#include "Platform/Application.h"
#include "Platform/Bundle.h"
#include "Platform/Driver.h"
#include "tests/support/TestBundle.h"

#include <gtest/gtest.h>

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

class LoadedViewerTest : public ::testing::Test {
protected:
    explicit LoadedViewerTest(std::string atlas) : atlas_(std::move(atlas)) {}

    void SetUp() override {
        static std::map<std::string, std::string> bundles;
        std::string& bundle = bundles[atlas_];
        if (bundle.empty())
            bundle = testbundle::withBuildArtwork(atlas_);
        viewer_ = startViewer(bundle);
        driver.advance(1.0);
    }
    void TearDown() override {
        viewer_.reset();
        ui::Driver::resetToolkit();
    }

    TorvexView& viewer() { return *viewer_; }

    ui::Driver driver;
    std::unique_ptr<TorvexView> viewer_;

private:
    std::string atlas_;
};

} // namespace testviewer
