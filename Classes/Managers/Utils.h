#pragma once
// Folder helpers and shuffling for the settings layer.

#include <cstddef>
#include <stdlib.h> // arc4random
#include <string>
#include <vector>

class Utils {
public:
    // The user's cache folder followed by "inner_cache"; fixed by the first call. Not created here.
    static const std::string& cacheDirectory();
    // The program's documents folder; fixed by the first call.
    static const std::string& documentsDirectory();

    // The same elements in a random order from the system's strong random source; `list` is unchanged.
    template <typename T> static std::vector<T> shakeArray(const std::vector<T>& list) {
        std::vector<T> remaining = list;
        std::vector<T> shaken;
        shaken.reserve(remaining.size());
        while (!remaining.empty()) {
            std::size_t index = arc4random() % remaining.size();
            shaken.push_back(std::move(remaining[index]));
            remaining.erase(remaining.begin() + static_cast<std::ptrdiff_t>(index));
        }
        return shaken;
    }
};
