#include "TreeNode.h"

#include <gtest/gtest.h>

namespace {

std::unique_ptr<TreeNode> node(std::string_view key, NodeAttributes attributes = {}) {
    auto made = TreeNode::initWithKey(key);
    made->dattributes = std::move(attributes);
    return made;
}

} // namespace

TEST(TreeNode, aCopyIsDetachedIndependentAndPointsParentsAtTheCopies) {
    auto region = node("part", {{"header", "Arm"}});
    region->leafvalue = "text";
    auto* views = region->appendChild(node("views"));
    views->appendChild(node("view", {{"header", "Anterior"}}));
    views->appendChild(node("view", {{"header", "Posterior"}}));
    region->appendChild(node("parts"));

    auto duplicate = region->copy();
    EXPECT_EQ(duplicate->parent, nullptr);
    EXPECT_EQ(duplicate->leafvalue, "text");
    EXPECT_EQ(duplicate->dattributes, region->dattributes);
    ASSERT_EQ(duplicate->children.size(), 2u);
    TreeNode* copiedViews = duplicate->firstChild();
    EXPECT_NE(copiedViews, views);
    EXPECT_EQ(copiedViews->parent, duplicate.get());
    EXPECT_EQ(copiedViews->lastChild()->getHeader(), "Posterior");
    EXPECT_EQ(copiedViews->lastChild()->parent, copiedViews);
    duplicate->setAttribute("header", "Leg");
    EXPECT_EQ(region->getHeader(), "Arm");
}
