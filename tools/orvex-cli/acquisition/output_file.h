// A buffered output file that only ever holds whole records: the buffer is filled with
// complete samples and, when a write fails part-way, a regular file is cut back to the
// last whole sample that reached it, so what is left is valid and its sample count known.
#ifndef TOOLS_ORVEX_CLI_ACQUISITION_OUTPUT_FILE_H
#define TOOLS_ORVEX_CLI_ACQUISITION_OUTPUT_FILE_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace orvex_cli {

class OutputFile {
  public:
    // "-" is standard output.  A sample is `recordSize` bytes, or a line when 0.  Text
    // committed without samples (a header) comes before the first sample.  Throws
    // UsageError when the file cannot be created.
    explicit OutputFile(const std::string &path, std::size_t recordSize = 0);
    ~OutputFile();
    OutputFile(const OutputFile &) = delete;
    OutputFile &operator=(const OutputFile &) = delete;

    // Room for at least `bytes` more bytes; the caller fills some of it and commits.
    char *reserve(std::size_t bytes);
    void commit(std::size_t bytes, std::uint64_t samples);
    void append(std::string_view text);

    // Both throw CommandFailed naming the file when the system refuses the data.
    void flush();
    void close();

    std::uint64_t samplesWritten() const { return writtenSamples; }
    const std::string &name() const { return path; }

  private:
    std::size_t wholeRecordsEnd(std::size_t written) const;
    std::uint64_t samplesIn(std::size_t end) const;

    std::string path;
    std::size_t recordSize;
    std::size_t headerBytes = 0; // text before the first sample in the buffer
    int fd = -1;
    bool ownsDescriptor = false;
    bool seekable = false;
    std::int64_t writtenEnd = 0; // file offset after the last whole block written
    std::uint64_t writtenSamples = 0;
    std::uint64_t bufferedSamples = 0;
    std::vector<char> buffer;
    std::size_t used = 0;
};

} // namespace orvex_cli

#endif
