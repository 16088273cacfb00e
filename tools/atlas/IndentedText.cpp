#include "IndentedText.h"

#include <sstream>

namespace atlas {

AuthoringError::AuthoringError(const std::string& file, int line, const std::string& message)
    : std::runtime_error(file + (line > 0 ? ":" + std::to_string(line) : std::string()) + ": " + message),
      line_(line) {}

std::vector<std::string> Statement::words() const {
    std::vector<std::string> result;
    std::istringstream in(rest);
    for (std::string word; in >> word;)
        result.push_back(word);
    return result;
}

namespace {

std::string trimmed(const std::string& text) {
    auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return {};
    auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

std::string withoutComment(const std::string& content) {
    if (content.starts_with('#'))
        return {};
    for (std::size_t at = content.find(" #"); at != std::string::npos; at = content.find(" #", at + 1)) {
        std::size_t after = at + 2;
        if (after == content.size() || content[after] == ' ')
            return content.substr(0, at);
    }
    return content;
}

struct Line {
    int number;
    int indent;
    std::string content;
};

std::vector<Line> meaningfulLines(const std::string& text, const std::string& file) {
    std::vector<Line> lines;
    std::istringstream in(text);
    int number = 0;
    for (std::string raw; std::getline(in, raw);) {
        ++number;
        std::size_t indent = raw.find_first_not_of(' ');
        if (indent == std::string::npos)
            continue;
        if (raw[indent] == '\t')
            throw AuthoringError(file, number, "indent with spaces, not tabs");
        std::string content = trimmed(withoutComment(raw.substr(indent)));
        if (!content.empty())
            lines.push_back({number, static_cast<int>(indent), content});
    }
    return lines;
}

Statement statementOf(const Line& line) {
    Statement statement;
    statement.line = line.number;
    auto space = line.content.find(' ');
    statement.keyword = line.content.substr(0, space);
    if (space != std::string::npos)
        statement.rest = trimmed(line.content.substr(space + 1));
    return statement;
}

// Collects the statements indented exactly INDENT starting at NEXT, with everything deeper as children.
std::vector<Statement> block(const std::vector<Line>& lines, std::size_t& next, int indent,
                             const std::string& file) {
    std::vector<Statement> statements;
    while (next < lines.size() && lines[next].indent >= indent) {
        const Line& line = lines[next];
        if (line.indent > indent)
            throw AuthoringError(file, line.number,
                                 "the indentation does not line up with the statements above");
        statements.push_back(statementOf(line));
        ++next;
        if (next < lines.size() && lines[next].indent > indent)
            statements.back().children = block(lines, next, lines[next].indent, file);
    }
    return statements;
}

} // namespace

std::vector<Statement> parseIndentedText(const std::string& text, const std::string& file) {
    std::vector<Line> lines = meaningfulLines(text, file);
    std::size_t next = 0;
    if (lines.empty())
        return {};
    if (lines.front().indent != 0)
        throw AuthoringError(file, lines.front().number, "the first statement must not be indented");
    return block(lines, next, 0, file);
}

} // namespace atlas
