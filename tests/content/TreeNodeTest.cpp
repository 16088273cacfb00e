#include "TreeNode.h"

#include <gtest/gtest.h>

namespace {

std::unique_ptr<TreeNode> node(std::string_view key, NodeAttributes attributes = {}) {
    auto made = TreeNode::initWithKey(key);
    made->dattributes = std::move(attributes);
    return made;
}

} // namespace

TEST(TreeNode, findChildReturnsTheFirstDirectChildOfThatNameOnly) {
    auto parent = node("views");
    EXPECT_EQ(parent->findChild("view"), nullptr);
    auto* first = parent->appendChild(node("view", {{"header", "Anterior"}}));
    parent->appendChild(node("view", {{"header", "Posterior"}}));
    first->appendChild(node("points"));
    EXPECT_EQ(parent->findChild("view"), first);
    EXPECT_EQ(parent->findChild("points"), nullptr);
    EXPECT_EQ(parent->findChild("View"), nullptr);
}

TEST(TreeNode, findChildByAttributeSkipsChildrenThatLackTheAttribute) {
    auto parent = node("views");
    parent->appendChild(node("view"));
    auto* blank = parent->appendChild(node("view", {{"header", ""}}));
    auto* posterior = parent->appendChild(node("view", {{"header", "Posterior"}}));
    parent->appendChild(node("part", {{"header", "Posterior"}}));
    EXPECT_EQ(parent->findChild("view", "Posterior", "header"), posterior);
    EXPECT_EQ(parent->findChild("view", "", "header"), blank);
    EXPECT_EQ(parent->findChild("view", "", "src"), nullptr);
}

TEST(TreeNode, firstAndLastChildAreTheSameNodeWhenThereIsOneAndNullptrWhenNone) {
    auto parent = node("parts");
    EXPECT_EQ(parent->firstChild(), nullptr);
    EXPECT_EQ(parent->lastChild(), nullptr);
    auto* only = parent->appendChild(node("part"));
    EXPECT_EQ(parent->firstChild(), only);
    EXPECT_EQ(parent->lastChild(), only);
    EXPECT_EQ(only->parent, parent.get());
}

TEST(TreeNode, missingAttributesReadAsEmptyText) {
    auto entry = node("entry", {{"title", "Deltoid"}});
    EXPECT_EQ(entry->getTitle(), "Deltoid");
    EXPECT_EQ(entry->getHeader(), "");
    EXPECT_EQ(entry->attribute("titlelatin"), "");
    EXPECT_EQ(TreeNode::init()->getTitle(), "");
}

TEST(TreeNode, copyOfALeafIsEqualDetachedAndIndependent) {
    auto parent = node("points");
    auto* source = parent->appendChild(node("point", {{"x", "012.50"}, {"infoid", "Label 1"}}));
    source->leafvalue = "text";
    auto duplicate = source->copy();
    EXPECT_EQ(duplicate->parent, nullptr);
    EXPECT_TRUE(duplicate->children.empty());
    EXPECT_EQ(duplicate->key, "point");
    EXPECT_EQ(duplicate->leafvalue, "text");
    EXPECT_EQ(duplicate->dattributes, source->dattributes);

    duplicate->setAttribute("x", "99");
    duplicate->setAttribute("y", "1");
    EXPECT_EQ(source->attribute("x"), "012.50");
    EXPECT_FALSE(source->dattributes.contains("y"));
}

TEST(TreeNode, copyOfASubtreeKeepsOrderAndPointsParentsAtTheCopies) {
    auto region = node("part", {{"header", "Arm"}});
    auto* views = region->appendChild(node("views"));
    views->appendChild(node("view", {{"header", "Anterior"}}));
    views->appendChild(node("view", {{"header", "Posterior"}}));
    region->appendChild(node("parts"));

    auto duplicate = region->copy();
    ASSERT_EQ(duplicate->children.size(), 2u);
    TreeNode* copiedViews = duplicate->firstChild();
    EXPECT_NE(copiedViews, views);
    EXPECT_EQ(copiedViews->parent, duplicate.get());
    ASSERT_EQ(copiedViews->children.size(), 2u);
    EXPECT_EQ(copiedViews->lastChild()->getHeader(), "Posterior");
    EXPECT_EQ(copiedViews->lastChild()->parent, copiedViews);
    EXPECT_EQ(views->lastChild()->parent, views);
}

TEST(TreeNode, removeChildHandsTheChildOverDetached) {
    auto parent = node("atlas");
    auto* regions = parent->appendChild(node("regions"));
    auto* information = parent->appendChild(node("information"));
    auto removed = parent->removeChild(information);
    EXPECT_EQ(removed.get(), information);
    EXPECT_EQ(removed->parent, nullptr);
    EXPECT_EQ(parent->lastChild(), regions);
    EXPECT_EQ(parent->removeChild(information), nullptr);
}

TEST(NodeAttributes, keepTheOrderOfSettingAndReplaceValuesInPlace) {
    NodeAttributes attributes{{"x", "1"}, {"y", "2"}};
    attributes.set("infoid", "Label 1");
    attributes.set("x", std::string(100, 'a'));
    attributes.set("y", "");
    std::vector<std::pair<std::string, std::string>> seen;
    for (auto [name, value] : attributes)
        seen.emplace_back(name, value);
    EXPECT_EQ(seen, (std::vector<std::pair<std::string, std::string>>{
                        {"x", std::string(100, 'a')}, {"y", ""}, {"infoid", "Label 1"}}));
    EXPECT_TRUE(attributes.contains("y"));
    EXPECT_FALSE(attributes.contains("z"));
    EXPECT_EQ(attributes, (NodeAttributes{{"infoid", "Label 1"}, {"y", ""}, {"x", std::string(100, 'a')}}));
    EXPECT_NE(attributes, (NodeAttributes{{"infoid", "Label 1"}, {"y", ""}, {"x", "1"}}));
}
