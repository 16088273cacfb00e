#include "TermOrder.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <unicode/coll.h>
#include <unicode/locid.h>
#include <unicode/unistr.h>

namespace {

// The language whose order the term lists take: the user's (LC_ALL, LC_COLLATE, LANG, as the C
// library reads them), English when none is set or it is the plain "C" one.
std::string collationLanguage() {
    for (const char* variable : {"LC_ALL", "LC_COLLATE", "LANG"}) {
        const char* value = std::getenv(variable);
        if (!value || !*value)
            continue;
        std::string name(value);
        name = name.substr(0, name.find_first_of(".@"));
        if (name == "C" || name == "POSIX")
            break;
        return name;
    }
    return "en";
}

// Compares by letters and accents, not by case, in the user's language, the same on every machine
// whatever locales it has installed. A language the collation data lacks falls back to the root order,
// which is English's.
const icu::Collator& termCollator() {
    static const std::unique_ptr<icu::Collator> collator = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::Collator> made(
            icu::Collator::createInstance(icu::Locale::createCanonical(collationLanguage().c_str()), status));
        if (U_FAILURE(status) || !made) {
            status = U_ZERO_ERROR;
            made.reset(icu::Collator::createInstance(icu::Locale::getEnglish(), status));
        }
        made->setStrength(icu::Collator::SECONDARY);
        return made;
    }();
    return *collator;
}

// The key whose plain byte order is the collator's order.
std::string sortKey(const std::string& term) {
    icu::UnicodeString text = icu::UnicodeString::fromUTF8(term);
    const icu::Collator& collator = termCollator();
    std::string key(static_cast<std::size_t>(collator.getSortKey(text, nullptr, 0)), '\0');
    collator.getSortKey(text, reinterpret_cast<uint8_t*>(key.data()), static_cast<int32_t>(key.size()));
    return key;
}

} // namespace

int TermOrder::alphabeticSort(const std::string& a, const std::string& b, const void* context) {
    UErrorCode status = U_ZERO_ERROR;
    UCollationResult order = termCollator().compareUTF8(context ? a : b, context ? b : a, status);
    return order == UCOL_LESS ? -1 : order == UCOL_GREATER ? 1 : 0;
}

void TermOrder::sortAlphabetically(std::vector<std::string>& terms) {
    std::vector<std::pair<std::string, std::string>> keyed;
    keyed.reserve(terms.size());
    for (auto& term : terms)
        keyed.emplace_back(sortKey(term), std::move(term));
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 0; i < terms.size(); ++i)
        terms[i] = std::move(keyed[i].second);
}
