// The cache by content: FNV-1a hashes into an open-addressing table of names.
#include "NameCache.h"

#include <algorithm>
#include <iterator>

Name NameCache::byContent(const char* text) {
    std::uint32_t hash = 2166136261u;
    std::size_t length = 0;
    for (; text[length]; ++length)
        hash = (hash ^ static_cast<unsigned char>(text[length])) * 16777619u;
    if (length == 0)
        return Name();
    std::string_view name(text, length);
    std::size_t index = probe(name, hash);
    if (slots_[index].name.empty()) {
        if (++used_ > kSlots / 2) {
            std::fill(std::begin(slots_), std::end(slots_), Slot());
            used_ = 1;
            index = hash & (kSlots - 1);
        }
        slots_[index] = {Name(name), hash};
    }
    return slots_[index].name;
}

std::size_t NameCache::probe(std::string_view name, std::uint32_t hash) const {
    std::size_t index = hash & (kSlots - 1);
    while (!slots_[index].name.empty() && (slots_[index].hash != hash || slots_[index].name.view() != name))
        index = (index + 1) & (kSlots - 1);
    return index;
}
