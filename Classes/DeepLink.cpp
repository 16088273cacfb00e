#include "DeepLink.h"

#include "Platform/EditDistance.h"

#include <algorithm>
#include <cctype>
#include <set>

namespace {

std::string lowered(std::string_view text) {
    std::string result(text);
    for (char& c : result)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return result;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

struct Candidate {
    const std::string* term;
    bool latin;
};

std::vector<Candidate> allTerms(const std::vector<std::string>& english,
                                const std::vector<std::string>& latin) {
    std::vector<Candidate> all;
    for (const auto& term : english)
        all.push_back({&term, false});
    for (const auto& term : latin)
        all.push_back({&term, true});
    return all;
}

} // namespace

std::optional<std::string> DeepLink::takeFromArguments(int& argc, char** argv, std::string& error) {
    std::optional<std::string> term;
    int kept = 0;
    for (int i = 0; i < argc; ++i) {
        std::string_view argument = argv[i] ? argv[i] : "";
        if (i > 0 && argument == "--go") {
            if (i + 1 >= argc) {
                error = "--go needs a term";
                return std::nullopt;
            }
            term = argv[++i];
        } else if (i > 0 && lowered(argument.substr(0, scheme.size())) == scheme) {
            std::string_view rest = argument.substr(scheme.size());
            while (rest.starts_with("/"))
                rest.remove_prefix(1);
            term = percentDecoded(rest);
        } else {
            argv[kept++] = argv[i];
        }
    }
    argc = kept;
    return term;
}

std::string DeepLink::percentDecoded(std::string_view text) {
    std::string decoded;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && hexValue(text[i + 1]) >= 0 &&
            hexValue(text[i + 2]) >= 0) {
            decoded += static_cast<char>(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2]));
            i += 2;
        } else {
            decoded += text[i];
        }
    }
    return decoded;
}

std::optional<DeepLink::Match> DeepLink::resolve(const std::string& wanted,
                                                 const std::vector<std::string>& english,
                                                 const std::vector<std::string>& latin) {
    std::string key = lowered(wanted);
    if (key.empty())
        return std::nullopt;
    auto candidates = allTerms(english, latin);
    for (const Candidate& candidate : candidates) {
        if (lowered(*candidate.term) == key)
            return Match{*candidate.term, candidate.latin};
    }
    std::optional<Match> only;
    std::set<std::string> prefixed;
    for (const Candidate& candidate : candidates) {
        if (lowered(*candidate.term).starts_with(key) && prefixed.insert(*candidate.term).second)
            only = Match{*candidate.term, candidate.latin};
    }
    return prefixed.size() == 1 ? only : std::nullopt;
}

std::vector<std::string> DeepLink::closeTerms(const std::string& wanted,
                                              const std::vector<std::string>& english,
                                              const std::vector<std::string>& latin, std::size_t count) {
    std::string key = lowered(wanted);
    std::vector<std::pair<std::size_t, std::string>> ranked;
    std::set<std::string> seen;
    for (const Candidate& candidate : allTerms(english, latin)) {
        if (!seen.insert(*candidate.term).second)
            continue;
        std::string term = lowered(*candidate.term);
        // Terms it begins come first; the rest by their distance from the same number of characters.
        std::size_t distance = !key.empty() && term.starts_with(key)
                                   ? 0
                                   : 1 + ui::editDistance(key, term.substr(0, key.size() + 2));
        ranked.push_back({distance, *candidate.term});
    }
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::string> close;
    for (std::size_t i = 0; i < ranked.size() && i < count; ++i)
        close.push_back(ranked[i].second);
    return close;
}

std::string DeepLink::unknownTermMessage(const std::string& wanted, const std::vector<std::string>& english,
                                         const std::vector<std::string>& latin) {
    std::string message = "no index term matches \"" + wanted + "\"";
    auto close = closeTerms(wanted, english, latin);
    const char* separator = "; close terms: ";
    for (const auto& term : close) {
        message += separator + term;
        separator = ", ";
    }
    return message;
}
