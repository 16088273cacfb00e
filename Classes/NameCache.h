#pragma once
// Expat hands over every name as text, attribute names mostly at the same few addresses again and again.
// Two small caches in front of the process-wide name table (which takes a lock) turn almost every lookup
// into a comparison: one by address, checked against the text, and one by content, an open-addressing
// table that is emptied when half full, so that endless distinct names cost time in proportion only.

#include "TreeNode.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

class NameCache {
public:
    // The fast path stays inline: it runs for every element and attribute of a document.
    Name intern(const char* text) {
        Recent& recent = recent_[(reinterpret_cast<std::uintptr_t>(text) >> 3) % kRecent];
        if (recent.text == text && spells(recent.name, text))
            return recent.name;
        Name name = byContent(text);
        recent = {text, name};
        return name;
    }

private:
    static constexpr std::size_t kRecent = 32;
    static constexpr std::size_t kSlots = 256;

    static bool spells(Name name, const char* text) {
        for (char letter : name.view()) {
            if (*text++ != letter)
                return false;
        }
        return *text == '\0';
    }
    Name byContent(const char* text);
    std::size_t probe(std::string_view name, std::uint32_t hash) const;

    struct Recent {
        const char* text = nullptr;
        Name name;
    };
    struct Slot {
        Name name;
        std::uint32_t hash = 0;
    };
    Recent recent_[kRecent];
    Slot slots_[kSlots];
    std::size_t used_ = 0;
};
