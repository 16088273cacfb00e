#include "TermDictionary.h"

#include <functional>

namespace {

std::uint32_t hashOf(std::string_view term) {
    return static_cast<std::uint32_t>(std::hash<std::string_view>{}(term));
}

} // namespace

std::size_t TermDictionary::slotIndex(std::string_view term, std::uint32_t hash) const {
    std::size_t mask = slots_.size() - 1;
    std::size_t index = hash & mask;
    while (slots_[index].entry &&
           (slots_[index].hash != hash || entries_[slots_[index].entry - 1].term != term))
        index = (index + 1) & mask;
    return index;
}

TreeNode* TermDictionary::find(std::string_view term) const {
    if (slots_.empty())
        return nullptr;
    const Slot& slot = slots_[slotIndex(term, hashOf(term))];
    return slot.entry ? entries_[slot.entry - 1].node : nullptr;
}

bool TermDictionary::insertIfAbsent(std::string_view term, TreeNode* node) {
    if (!node)
        return false;
    if (2 * (entries_.size() + 1) > slots_.size())
        grow();
    std::uint32_t hash = hashOf(term);
    Slot& slot = slots_[slotIndex(term, hash)];
    if (slot.entry)
        return false;
    entries_.push_back({std::string(term), node});
    slot = {hash, static_cast<std::uint32_t>(entries_.size())};
    return true;
}

void TermDictionary::grow() {
    std::vector<Slot> old =
        std::exchange(slots_, std::vector<Slot>(std::max<std::size_t>(64, 2 * slots_.size())));
    std::size_t mask = slots_.size() - 1;
    for (const Slot& slot : old) {
        if (!slot.entry)
            continue;
        std::size_t index = slot.hash & mask;
        while (slots_[index].entry)
            index = (index + 1) & mask;
        slots_[index] = slot;
    }
}

void TermDictionary::clear() {
    entries_.clear();
    slots_.clear();
}
