#include "line_reader.h"

#include "os/host_process.h"
#include "tool_errors.h"
#include "values.h"

#include <filesystem>
#include <iostream>

namespace orvex_cli {

LineReader::LineReader(const std::string &path, std::string_view what, bool standardInputAllowed)
    : input(&std::cin), kind(what), shownName("standard input"), buffer(longestInputLine + 1) {
    if (path == "-" && standardInputAllowed) {
        return;
    }
    shownName = shortened(path, longestPathEcho);
    const std::string refusal = "cannot read " + kind + " " + shownName;
    // Checked before opening: opening a FIFO waits for a writer.
    std::error_code error;
    const auto type = std::filesystem::status(pathFromUtf8(path), error).type();
    if (type == std::filesystem::file_type::not_found || error) {
        throw UsageError(refusal);
    }
    if (type != std::filesystem::file_type::regular) {
        throw UsageError(refusal + ": not a regular file");
    }
    file.open(pathFromUtf8(path), std::ios::binary);
    if (!file) {
        throw UsageError(refusal);
    }
    input = &file;
}

bool LineReader::next(std::string &line) {
    // A line of exactly the buffer's room but one is read whole; one more character sets
    // the fail bit with the buffer full.
    input->getline(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    const auto extracted = static_cast<std::size_t>(input->gcount());
    if (extracted == 0) {
        // Every line but an unended last one counts its '\n'.
        if (!input->eof()) {
            throw UsageError("cannot read " + kind + " " + shownName);
        }
        return false;
    }
    ++number;
    if (input->fail() && extracted == longestInputLine) {
        throw UsageError(place() + "the line is longer than " +
                         std::to_string(longestInputLine >> 20) + " MiB");
    }
    bytesRead += extracted;
    if (bytesRead > largestInput) {
        throw UsageError(place() + "the " + kind + " is longer than " +
                         std::to_string(largestInput >> 20) + " MiB");
    }
    const bool ended = !input->eof();
    line.assign(buffer.data(), ended ? extracted - 1 : extracted);
    return true;
}

std::string LineReader::place() const {
    return shownName + ":" + std::to_string(number) + ": ";
}

} // namespace orvex_cli
