// The calls an output file makes on its descriptor, one form per operating system.  Each
// returns -1 with errno set on failure, as the POSIX calls do.
#ifndef TOOLS_ORVEX_CLI_OS_FILE_DESCRIPTOR_H
#define TOOLS_ORVEX_CLI_OS_FILE_DESCRIPTOR_H

#include <cstddef>
#include <cstdint>
#include <string>

namespace orvex_cli::descriptor {

inline constexpr int standardOutput = 1;

// Creates or empties the file; the bytes written reach it unchanged.
int create(const std::string &utf8Path);
std::int64_t write(int fd, const char *data, std::size_t size);
bool isRegularFile(int fd);
std::int64_t position(int fd);
// Cuts a regular file at `end` and goes on writing there; false when it cannot.
bool cutAt(int fd, std::int64_t end);
int close(int fd);

} // namespace orvex_cli::descriptor

#endif
