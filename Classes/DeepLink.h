#pragma once
// Starting the atlas at a term: `torvex --go TERM`, or a link `torvex:TERM` as the desktop hands it over
// (percent-encoded: `torvex:Heart%20wall`). The term is looked up among the index's English and Latin
// terms: a case-insensitive exact match first, else the one term it begins; anything else is unknown,
// and the user is shown up to five close index terms.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

class DeepLink {
public:
    static constexpr std::string_view scheme = "torvex:";

    // Takes `--go TERM` or one `torvex:TERM` argument out of argv and returns the term, decoded; nullopt
    // when there is none, or with `error` set when --go has no value.
    static std::optional<std::string> takeFromArguments(int& argc, char** argv, std::string& error);
    // "%20" -> " ", "+" kept; a broken escape stays as written.
    static std::string percentDecoded(std::string_view text);

    struct Match {
        std::string term; // as the index writes it
        bool latin = false;
    };
    static std::optional<Match> resolve(const std::string& wanted, const std::vector<std::string>& english,
                                        const std::vector<std::string>& latin);
    // Up to `count` index terms closest to `wanted`: those it begins, then the fewest edits away.
    static std::vector<std::string> closeTerms(const std::string& wanted,
                                               const std::vector<std::string>& english,
                                               const std::vector<std::string>& latin, std::size_t count = 5);
    // "no index term matches "Hart"; close terms: Heart, ..."
    static std::string unknownTermMessage(const std::string& wanted, const std::vector<std::string>& english,
                                          const std::vector<std::string>& latin);
};
