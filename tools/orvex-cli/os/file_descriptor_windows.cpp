#include "file_descriptor.h"

#include "host/host_text.h"

#include <climits>
#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

namespace orvex_cli::descriptor {

// By its UTF-16 name, so that no path depends on the machine's code page; binary, or
// every '\n' would become "\r\n" and the raw sample formats would be corrupted.
int create(const std::string &utf8Path) {
    return _wopen(host::wideFromUtf8(utf8Path).c_str(),
                  _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY | _O_NOINHERIT, _S_IREAD | _S_IWRITE);
}

// The runtime takes an unsigned int per call; the caller writes the rest in the next.
std::int64_t write(int fd, const char *data, std::size_t size) {
    const auto part = static_cast<unsigned int>(size < INT_MAX ? size : INT_MAX);
    return _write(fd, data, part);
}

bool isRegularFile(int fd) {
    struct _stat64 status {};
    return _fstat64(fd, &status) == 0 && (status.st_mode & _S_IFMT) == _S_IFREG;
}

std::int64_t position(int fd) {
    return _lseeki64(fd, 0, SEEK_CUR);
}

bool cutAt(int fd, std::int64_t end) {
    return _chsize_s(fd, end) == 0 && _lseeki64(fd, end, SEEK_SET) == end;
}

int close(int fd) {
    return _close(fd);
}

} // namespace orvex_cli::descriptor
