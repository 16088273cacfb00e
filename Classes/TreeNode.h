#pragma once
// The generic node of the atlas's content: one node per element of the data file, with its name, its
// text, its attributes and the elements inside it. The class knows nothing of anatomy; readers navigate
// by element names and attribute values.

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// An element or attribute name. Names come from a handful of words, so each distinct name is stored once
// for the life of the process and a Name is only a reference to it: 8 bytes, compared by address.
// Constructing one from text interns the text (thread-safe); the empty name needs no storage.
class Name {
public:
    Name() = default;
    Name(std::string_view text);
    Name(const char* text) : Name(std::string_view(text)) {}

    std::string_view view() const { return interned_ ? std::string_view(*interned_) : std::string_view(); }
    operator std::string_view() const { return view(); }
    bool empty() const { return interned_ == nullptr; }

    friend bool operator==(Name a, Name b) { return a.interned_ == b.interned_; }
    friend bool operator==(Name a, std::string_view text) { return a.view() == text; }
    friend bool operator==(Name a, const char* text) { return a.view() == text; }
    friend std::ostream& operator<<(std::ostream& out, Name name) { return out << name.view(); }

private:
    const std::string* interned_ = nullptr;
};

// The attributes of one node, name to value, in the order they were first set. A tree holds a great
// many small elements with two to eight short attributes each, so all of a node's attributes share one
// heap block: a count, the value lengths, the names, then the value bytes back to back. Lookups scan;
// with so few attributes that beats any hashing.
class NodeAttributes {
public:
    struct Attribute {
        Name name;
        std::string_view value;
    };

    NodeAttributes() = default;
    NodeAttributes(std::initializer_list<Attribute> attributes) : NodeAttributes(std::span(attributes)) {}
    explicit NodeAttributes(std::span<const Attribute> attributes);
    NodeAttributes(const NodeAttributes& other);
    NodeAttributes& operator=(const NodeAttributes& other);
    NodeAttributes(NodeAttributes&&) noexcept = default;
    NodeAttributes& operator=(NodeAttributes&&) noexcept = default;

    // The value of NAME, or "" when the attribute is missing.
    std::string_view value(std::string_view name) const;
    bool contains(std::string_view name) const;
    // Sets or replaces one attribute; every value read before becomes invalid.
    void set(std::string_view name, std::string_view value);

    std::size_t size() const;
    bool empty() const { return size() == 0; }
    Attribute at(std::size_t index) const;

    class Iterator {
    public:
        using iterator_category = std::input_iterator_tag;
        using value_type = Attribute;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = Attribute;

        Iterator(const NodeAttributes* owner, std::size_t index) : owner_(owner), index_(index) {}
        Attribute operator*() const { return owner_->at(index_); }
        Iterator& operator++() {
            ++index_;
            return *this;
        }
        Iterator operator++(int) {
            Iterator before = *this;
            ++index_;
            return before;
        }
        friend bool operator==(const Iterator&, const Iterator&) = default;

    private:
        const NodeAttributes* owner_;
        std::size_t index_;
    };
    Iterator begin() const { return {this, 0}; }
    Iterator end() const { return {this, size()}; }

    // Same names with the same values, whatever their order.
    friend bool operator==(const NodeAttributes& a, const NodeAttributes& b);

private:
    std::unique_ptr<std::byte[]> block_;
};

// Ownership runs downward: a node owns its children; `parent` is a plain back reference.
// Nodes are filled once by the data file's parser and only read afterwards.
class TreeNode {
public:
    TreeNode() = default;
    explicit TreeNode(Name key) : key(key) {}
    TreeNode(const TreeNode&) = delete;
    TreeNode& operator=(const TreeNode&) = delete;

    static std::unique_ptr<TreeNode> init() { return std::make_unique<TreeNode>(); }
    static std::unique_ptr<TreeNode> initWithKey(std::string_view key) {
        return std::make_unique<TreeNode>(Name(key));
    }
    // A deep copy of this subtree, detached: the copy has no parent.
    std::unique_ptr<TreeNode> copy() const;

    // The first direct child named NAME, or nullptr. Grandchildren are not searched.
    TreeNode* findChild(std::string_view name) const;
    // The first direct child named NAME whose attribute ATTRIBUTEKEY equals VALUE, or nullptr.
    // A child that lacks the attribute never matches, not even an empty VALUE.
    TreeNode* findChild(std::string_view name, std::string_view value, std::string_view attributeKey) const;
    TreeNode* firstChild() const { return children.empty() ? nullptr : children.front().get(); }
    TreeNode* lastChild() const { return children.empty() ? nullptr : children.back().get(); }
    std::string_view getTitle() const { return attribute("title"); }
    std::string_view getHeader() const { return attribute("header"); }

    // The attribute NAME, or "" when it is missing.
    std::string_view attribute(std::string_view name) const { return dattributes.value(name); }
    void setAttribute(std::string_view name, std::string_view value) { dattributes.set(name, value); }

    // Adopts CHILD as the last child and returns it.
    TreeNode* appendChild(std::unique_ptr<TreeNode> child);
    // Takes CHILD out of the children and hands it over detached; nullptr when it is not a child.
    std::unique_ptr<TreeNode> removeChild(const TreeNode* child);

    TreeNode* parent = nullptr;
    std::vector<std::unique_ptr<TreeNode>> children;
    Name key;
    std::string leafvalue;
    NodeAttributes dattributes;
};
