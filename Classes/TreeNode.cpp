#include "TreeNode.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <mutex>
#include <unordered_set>

namespace {

struct NameHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
};

// Append-only: a Name points into this set for the rest of the process, and node-based hashing keeps
// every stored string where it is when the set grows.
class NameTable {
public:
    const std::string* intern(std::string_view text) {
        std::lock_guard lock(mutex_);
        auto found = names_.find(text);
        if (found == names_.end())
            found = names_.emplace(text).first;
        return &*found;
    }

private:
    std::mutex mutex_;
    std::unordered_set<std::string, NameHash, std::equal_to<>> names_;
};

NameTable& nameTable() {
    static NameTable table;
    return table;
}

// Block layout: uint32 count | uint32 length[count] | padding to 8 | Name name[count] | value bytes.
constexpr std::size_t kLengthsOffset = sizeof(std::uint32_t);

constexpr std::size_t namesOffset(std::size_t count) {
    return (kLengthsOffset + sizeof(std::uint32_t) * count + alignof(Name) - 1) & ~(alignof(Name) - 1);
}

constexpr std::size_t valuesOffset(std::size_t count) {
    return namesOffset(count) + sizeof(Name) * count;
}

template <typename T> T readAt(const std::byte* block, std::size_t offset) {
    T value;
    std::memcpy(&value, block + offset, sizeof(T));
    return value;
}

template <typename T> void writeAt(std::byte* block, std::size_t offset, const T& value) {
    std::memcpy(block + offset, &value, sizeof(T));
}

std::uint32_t countOf(const std::byte* block) {
    return block ? readAt<std::uint32_t>(block, 0) : 0;
}

std::uint32_t lengthAt(const std::byte* block, std::size_t index) {
    return readAt<std::uint32_t>(block, kLengthsOffset + sizeof(std::uint32_t) * index);
}

Name nameAt(const std::byte* block, std::size_t count, std::size_t index) {
    return readAt<Name>(block, namesOffset(count) + sizeof(Name) * index);
}

std::size_t blockSize(const std::byte* block) {
    std::size_t count = countOf(block);
    std::size_t size = valuesOffset(count);
    for (std::size_t i = 0; i < count; ++i)
        size += lengthAt(block, i);
    return size;
}

} // namespace

Name::Name(std::string_view text) : interned_(text.empty() ? nullptr : nameTable().intern(text)) {}

NodeAttributes::NodeAttributes(std::span<const Attribute> attributes) {
    if (attributes.empty())
        return;
    std::size_t count = attributes.size();
    std::size_t size = valuesOffset(count);
    for (const Attribute& attribute : attributes)
        size += attribute.value.size();
    block_ = std::make_unique_for_overwrite<std::byte[]>(size);
    writeAt(block_.get(), 0, static_cast<std::uint32_t>(count));
    std::size_t valueOffset = valuesOffset(count);
    for (std::size_t i = 0; i < count; ++i) {
        const Attribute& attribute = attributes[i];
        writeAt(block_.get(), kLengthsOffset + sizeof(std::uint32_t) * i,
                static_cast<std::uint32_t>(attribute.value.size()));
        writeAt(block_.get(), namesOffset(count) + sizeof(Name) * i, attribute.name);
        std::memcpy(block_.get() + valueOffset, attribute.value.data(), attribute.value.size());
        valueOffset += attribute.value.size();
    }
}

NodeAttributes::NodeAttributes(const NodeAttributes& other) {
    if (!other.block_)
        return;
    std::size_t size = blockSize(other.block_.get());
    block_ = std::make_unique_for_overwrite<std::byte[]>(size);
    std::memcpy(block_.get(), other.block_.get(), size);
}

NodeAttributes& NodeAttributes::operator=(const NodeAttributes& other) {
    if (this != &other)
        *this = NodeAttributes(other);
    return *this;
}

std::size_t NodeAttributes::size() const {
    return countOf(block_.get());
}

NodeAttributes::Attribute NodeAttributes::at(std::size_t index) const {
    const std::byte* block = block_.get();
    std::size_t count = countOf(block);
    std::size_t offset = valuesOffset(count);
    for (std::size_t i = 0; i < index; ++i)
        offset += lengthAt(block, i);
    return {nameAt(block, count, index),
            std::string_view(reinterpret_cast<const char*>(block + offset), lengthAt(block, index))};
}

std::string_view NodeAttributes::value(std::string_view name) const {
    const std::byte* block = block_.get();
    std::size_t count = countOf(block);
    std::size_t offset = valuesOffset(count);
    for (std::size_t i = 0; i < count; ++i) {
        std::uint32_t length = lengthAt(block, i);
        if (nameAt(block, count, i) == name)
            return std::string_view(reinterpret_cast<const char*>(block + offset), length);
        offset += length;
    }
    return {};
}

bool NodeAttributes::contains(std::string_view name) const {
    std::size_t count = size();
    for (std::size_t i = 0; i < count; ++i) {
        if (nameAt(block_.get(), count, i) == name)
            return true;
    }
    return false;
}

void NodeAttributes::set(std::string_view name, std::string_view value) {
    std::vector<Attribute> attributes(begin(), end());
    auto existing = std::find_if(attributes.begin(), attributes.end(),
                                 [&](const Attribute& attribute) { return attribute.name == name; });
    if (existing != attributes.end())
        existing->value = value;
    else
        attributes.push_back({Name(name), value});
    *this = NodeAttributes(std::span<const Attribute>(attributes));
}

bool operator==(const NodeAttributes& a, const NodeAttributes& b) {
    if (a.size() != b.size())
        return false;
    return std::all_of(a.begin(), a.end(), [&](const NodeAttributes::Attribute& attribute) {
        return b.contains(attribute.name) && b.value(attribute.name) == attribute.value;
    });
}

std::unique_ptr<TreeNode> TreeNode::copy() const {
    auto duplicate = TreeNode::init();
    duplicate->dattributes = dattributes;
    duplicate->key = key;
    duplicate->leafvalue = leafvalue;
    duplicate->children.reserve(children.size());
    for (const auto& child : children)
        duplicate->appendChild(child->copy());
    return duplicate;
}

TreeNode* TreeNode::findChild(std::string_view name) const {
    for (const auto& child : children) {
        if (child->key == name)
            return child.get();
    }
    return nullptr;
}

TreeNode* TreeNode::findChild(std::string_view name, std::string_view value,
                              std::string_view attributeKey) const {
    for (const auto& child : children) {
        if (child->key == name && child->dattributes.contains(attributeKey) &&
            child->attribute(attributeKey) == value)
            return child.get();
    }
    return nullptr;
}

TreeNode* TreeNode::appendChild(std::unique_ptr<TreeNode> child) {
    if (!child)
        return nullptr;
    child->parent = this;
    children.push_back(std::move(child));
    return children.back().get();
}

std::unique_ptr<TreeNode> TreeNode::removeChild(const TreeNode* child) {
    auto found =
        std::find_if(children.begin(), children.end(),
                     [&](const std::unique_ptr<TreeNode>& candidate) { return candidate.get() == child; });
    if (found == children.end())
        return nullptr;
    std::unique_ptr<TreeNode> removed = std::move(*found);
    children.erase(found);
    removed->parent = nullptr;
    return removed;
}
