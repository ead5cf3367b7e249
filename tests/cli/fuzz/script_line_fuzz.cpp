// libFuzzer target of the `run` script line splitter: any line is either refused for an
// open quote or split in one pass into words that, quoted again, split back the same; a
// line without words is exactly a blank or comment line.
#include "commands/script_line.h"
#include "core/tool_errors.h"
#include "fuzz/fuzz_require.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

// In double quotes, where only \" and \\ are escapes.
std::string requoted(const std::vector<std::string> &words) {
    std::string line;
    for (const std::string &word : words) {
        line += " \"";
        for (const char c : word) {
            if (c == '"' || c == '\\') {
                line += '\\';
            }
            line += c;
        }
        line += '"';
    }
    return line;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const std::string_view line(reinterpret_cast<const char *>(data), size);
    std::vector<std::string> words;
    try {
        words = orvex_cli::splitScriptLine(line);
    } catch (const orvex_cli::UsageError &) {
        fuzzRequire(!orvex_cli::isBlankOrComment(line));
        return 0;
    }
    fuzzRequire(words.empty() == orvex_cli::isBlankOrComment(line));
    std::size_t characters = 0;
    for (const std::string &word : words) {
        characters += word.size();
    }
    fuzzRequire(characters <= size);
    fuzzRequire(orvex_cli::splitScriptLine(requoted(words)) == words);
    return 0;
}
