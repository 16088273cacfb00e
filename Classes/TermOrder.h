#pragma once
// The order of the term lists: the user's language's collation, by letters and accents but not case.

#include <string>
#include <vector>

class TermOrder {
public:
    // Locale-aware, case-insensitive order (-1, 0 or 1); descending when `context` is null.
    static int alphabeticSort(const std::string& a, const std::string& b, const void* context);
    // Sorts ascending in the order of `alphabeticSort`; equal terms keep their order.
    static void sortAlphabetically(std::vector<std::string>& terms);
};
