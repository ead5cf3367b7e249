// Scripts and wave files, read a line at a time within fixed bounds, so that an endless or
// huge input (/dev/zero, a FIFO nobody writes to, a line without an end) ends with a
// message instead of filling memory or waiting for ever.
#ifndef TOOLS_ORVEX_CLI_CORE_LINE_READER_H
#define TOOLS_ORVEX_CLI_CORE_LINE_READER_H

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

namespace orvex_cli {

constexpr std::size_t longestInputLine = std::size_t{1} << 20;
constexpr std::uint64_t largestInput = std::uint64_t{32} << 20;

class LineReader {
  public:
    // Opens `path`, which must name a regular file, or "-" for standard input when
    // `standardInputAllowed`.  `what` ("script") names the input in messages.  Throws
    // UsageError when the input cannot be read.
    LineReader(const std::string &path, std::string_view what, bool standardInputAllowed);

    // The next line, without its '\n'; false at the end.  Throws UsageError naming the
    // place when the line is longer than longestInputLine or the input has grown beyond
    // largestInput.
    bool next(std::string &line);

    // "standard input" or the path.
    const std::string &name() const { return shownName; }
    // "name:number: " of the line read last, which starts a message about it.
    std::string place() const;

  private:
    std::ifstream file;
    std::istream *input;
    std::string kind;
    std::string shownName;
    std::vector<char> buffer;
    std::uint64_t bytesRead = 0;
    int number = 0;
};

} // namespace orvex_cli

#endif
