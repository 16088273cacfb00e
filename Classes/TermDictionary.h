#pragma once

#include "TreeNode.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Term to node. Enumeration follows insertion order, which for the parser is document order, so lists
// built from the terms come out the same on every load. The parser looks up every point's term, tens of
// thousands of them scattered at random over a big table: open addressing over a compact slot array,
// with the entries side by side, keeps each lookup to about one cache miss where node-based maps take three.
class TermDictionary {
public:
    struct Entry {
        std::string term;
        TreeNode* node;
    };

    // The node entered under TERM, or nullptr.
    TreeNode* find(std::string_view term) const;
    bool contains(std::string_view term) const { return find(term) != nullptr; }
    // Enters NODE under TERM unless the term is already there: the first entry keeps it. A null NODE is
    // never entered. Returns whether NODE was entered.
    bool insertIfAbsent(std::string_view term, TreeNode* node);
    const std::vector<Entry>& entries() const { return entries_; }
    std::size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }
    void clear();

private:
    struct Slot {
        std::uint32_t hash = 0;
        std::uint32_t entry = 0; // index into entries_ plus one; 0 marks an empty slot
    };

    // The slot holding TERM, or the empty slot where it would go; slots_ must not be empty.
    std::size_t slotIndex(std::string_view term, std::uint32_t hash) const;
    void grow();

    std::vector<Entry> entries_;
    std::vector<Slot> slots_; // a power of two in size, at most half full
};
