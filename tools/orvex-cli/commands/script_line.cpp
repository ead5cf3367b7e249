#include "script_line.h"

#include "core/tool_errors.h"

namespace orvex_cli {
namespace {

// '\r' too, so that a script saved with Windows line ends reads the same.
bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

constexpr char comment = '#';

} // namespace

std::vector<std::string> splitScriptLine(std::string_view line) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    for (std::size_t at = 0; at < line.size(); ++at) {
        const char c = line[at];
        if (isBlank(c) || c == comment) {
            if (inWord) {
                words.push_back(std::move(word));
                word.clear();
                inWord = false;
            }
            if (c == comment) {
                break;
            }
            continue;
        }
        inWord = true;
        if (c != '\'' && c != '"') {
            word += c;
            continue;
        }
        const std::size_t opening = at;
        for (++at; at < line.size() && line[at] != c; ++at) {
            const bool escape = c == '"' && line[at] == '\\' && at + 1 < line.size() &&
                                (line[at + 1] == '"' || line[at + 1] == '\\');
            at += escape ? 1 : 0;
            word += line[at];
        }
        if (at == line.size()) {
            throw UsageError("the quote " + std::string(1, c) + " at column " +
                             std::to_string(opening + 1) + " is not closed");
        }
    }
    if (inWord) {
        words.push_back(std::move(word));
    }
    return words;
}

bool isBlankOrComment(std::string_view line) {
    for (const char c : line) {
        if (!isBlank(c)) {
            return c == comment;
        }
    }
    return true;
}

} // namespace orvex_cli
