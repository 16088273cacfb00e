#pragma once
// The viewer put on screen as the program puts it there, for the test groups that drive it, and the
// regions of its tree found by name. Header-only, so that every test group may use it.

#include "Classes/TorvexView.h"
#include "Platform/Application.h"
#include "Platform/Bundle.h"
#include "Platform/Driver.h"

#include <functional>
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

} // namespace testviewer
