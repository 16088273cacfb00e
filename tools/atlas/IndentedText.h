#pragma once
// The authoring file's syntax: one statement per line, a keyword and the rest of the line, and the
// statements indented below a line belong to it. Blank lines and comments ("#" at the start of a line's
// text, or " # " inside it) are skipped; a colour such as "#c62f3a" is not a comment.

#include <stdexcept>
#include <string>
#include <vector>

namespace atlas {

// A problem in an authoring file, with the line it was found on (0 when it concerns the whole file).
class AuthoringError : public std::runtime_error {
public:
    AuthoringError(const std::string& file, int line, const std::string& message);
    int line() const { return line_; }

private:
    int line_;
};

struct Statement {
    int line = 0;
    std::string keyword;
    std::string rest; // the text after the keyword, trimmed
    std::vector<Statement> children;

    // "rest" split at white space.
    std::vector<std::string> words() const;
};

// Reads the statements of TEXT; FILE names it in errors. Tabs in indentation and a line indented deeper
// than the statement above it allows are errors.
std::vector<Statement> parseIndentedText(const std::string& text, const std::string& file);

} // namespace atlas
