// The words of one `run` script line.  Blanks separate words; '...' keeps everything up
// to the next ' as it is; "..." does too, except that \" and \\ stand for " and \; quoted
// and plain parts side by side make one word (--output="my data.csv").  A backslash
// outside quotes is an ordinary character, so Windows paths need no quotes.  A '#'
// outside quotes starts a comment.
#ifndef TOOLS_ORVEX_CLI_COMMANDS_SCRIPT_LINE_H
#define TOOLS_ORVEX_CLI_COMMANDS_SCRIPT_LINE_H

#include <string>
#include <string_view>
#include <vector>

namespace orvex_cli {

// In one pass over the line.  Throws UsageError for a quote that is not closed.
std::vector<std::string> splitScriptLine(std::string_view line);

// True when the line holds no word: only blanks, perhaps a comment.
bool isBlankOrComment(std::string_view line);

} // namespace orvex_cli

#endif
