// Helpers that every subsystem of the viewer shares: the region tree's shape, the picture on screen and
// the timed steps.
#include "TorvexView.h"

#include "Platform/ImageView.h"

#include <charconv>
#include <cmath>

ui::ImageView* TorvexView::displayedImage() const {
    if (!firstImage || firstImage->alpha() != 0)
        return firstImage.get();
    return secondImage.get();
}

ui::ImageView* TorvexView::hiddenImage() const {
    return displayedImage() == firstImage.get() ? secondImage.get() : firstImage.get();
}

bool TorvexView::isMagnified() const {
    const ui::ImageView* picture = displayedImage();
    return picture && picture->transform().a > 1.0;
}

const NodeList& TorvexView::childrenOf(const TreeNode* node) {
    static const NodeList none;
    return node ? node->children : none;
}

const NodeList& TorvexView::viewsOf(const TreeNode* region) {
    return childrenOf(region ? region->firstChild() : nullptr);
}

const NodeList& TorvexView::subRegionsOf(const TreeNode* region) {
    return childrenOf(region ? region->lastChild() : nullptr);
}

TreeNode* TorvexView::viewNamed(const TreeNode* region, std::string_view name) {
    for (const auto& view : viewsOf(region)) {
        if (view->getHeader() == name)
            return view.get();
    }
    return nullptr;
}

TreeNode* TorvexView::currentViewNamed(const std::string& name) const {
    return viewNamed(root, name);
}

bool TorvexView::regionOffers(const std::string& name) const {
    return currentViewNamed(name) != nullptr;
}

bool TorvexView::isOnScreen(const ui::View* view) {
    return view && view->superview();
}

void TorvexView::after(double seconds, void (TorvexView::*step)()) {
    ui::Timer::scheduled(seconds, ui::Timer::Repeats::No, whileAlive([this, step] { (this->*step)(); }));
}

TreeNode* TorvexView::ancestor(const TreeNode* node, int generations) {
    for (int i = 0; i < generations && node; ++i)
        node = node->parent;
    return const_cast<TreeNode*>(node);
}

bool TorvexView::isTopRegion(const TreeNode* region) {
    const TreeNode* third = ancestor(region, 3);
    return !third || third->key.empty();
}

bool TorvexView::hasParentRegion(const TreeNode* region) {
    return ancestor(region, 4) != nullptr;
}

float TorvexView::number(const TreeNode& node, std::string_view attribute) {
    std::string_view text = node.attribute(attribute);
    std::size_t start = text.find_first_not_of(" \t\n\r");
    if (start == std::string_view::npos)
        return 0;
    text.remove_prefix(start);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    float value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    // "inf" and "nan" would poison every frame and transform computed from them.
    return error == std::errc() && std::isfinite(value) ? value : 0;
}
