#include "TreeNode.h"

#include <gtest/gtest.h>

namespace {

std::unique_ptr<TreeNode> node(std::string_view key, NodeAttributes attributes = {}) {
    auto made = TreeNode::initWithKey(key);
    made->dattributes = std::move(attributes);
    return made;
}

} // namespace

TEST(TreeNode, findChildReturnsTheFirstDirectChildOfThatNameAndAttribute) {
    auto parent = node("views");
    EXPECT_EQ(parent->findChild("view"), nullptr);
    auto* first = parent->appendChild(node("view"));
    auto* blank = parent->appendChild(node("view", {{"header", ""}}));
    auto* posterior = parent->appendChild(node("view", {{"header", "Posterior"}}));
    parent->appendChild(node("part", {{"header", "Posterior"}}));
    first->appendChild(node("points"));
    EXPECT_EQ(parent->findChild("view"), first);
    EXPECT_EQ(parent->findChild("points"), nullptr) << "direct children only";
    EXPECT_EQ(parent->findChild("View"), nullptr);
    EXPECT_EQ(parent->findChild("view", "Posterior", "header"), posterior);
    EXPECT_EQ(parent->findChild("view", "", "header"), blank) << "an empty attribute is not a missing one";
    EXPECT_EQ(parent->findChild("view", "", "src"), nullptr);
}

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
