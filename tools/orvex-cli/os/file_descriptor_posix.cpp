#include "file_descriptor.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvex_cli::descriptor {

int create(const std::string &utf8Path) {
    return ::open(utf8Path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
}

std::int64_t write(int fd, const char *data, std::size_t size) {
    return ::write(fd, data, size);
}

bool isRegularFile(int fd) {
    struct stat status {};
    return fstat(fd, &status) == 0 && S_ISREG(status.st_mode);
}

std::int64_t position(int fd) {
    return lseek(fd, 0, SEEK_CUR);
}

bool cutAt(int fd, std::int64_t end) {
    return ftruncate(fd, end) == 0 && lseek(fd, end, SEEK_SET) == end;
}

int close(int fd) {
    return ::close(fd);
}

} // namespace orvex_cli::descriptor
