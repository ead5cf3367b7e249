#include "state_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

namespace simboard {
namespace {

// Another process sets a file up in a moment; one that keeps it locked longer is not one
// of ours.
constexpr std::chrono::seconds setUpPatience{3};

std::string systemError(const std::string &what, const std::string &path) {
    return what + " " + path + ": " + std::strerror(errno);
}

// O_NONBLOCK: opening a FIFO must not wait for its other end.
int openExisting(const std::string &path) {
    return open(path.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
}

int createExclusively(const std::string &path) {
    return open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
}

bool lockWithin(int fd, std::chrono::steady_clock::duration patience) {
    const auto deadline = std::chrono::steady_clock::now() + patience;
    while (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK || std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

} // namespace

StateFile::StateFile(const std::string &path, std::string &why) {
    fd_ = openExisting(path);
    if (fd_ < 0 && errno == ENOENT) {
        fd_ = createExclusively(path);
        if (fd_ < 0 && errno == EEXIST) {
            why.clear(); // made by another process meanwhile
            return;
        }
    }
    if (fd_ < 0) {
        why = errno == ELOOP ? path + " is a symbolic link" : systemError("cannot open", path);
        return;
    }
    why = check(path);
    if (!why.empty() || replacedMeanwhile(path)) {
        close(std::exchange(fd_, -1));
    }
}

StateFile::~StateFile() {
    if (fd_ >= 0) {
        close(fd_);
    }
}

int StateFile::release() {
    flock(fd_, LOCK_UN);
    return std::exchange(fd_, -1);
}

std::string StateFile::check(const std::string &path) {
    struct stat opened {};
    if (fstat(fd_, &opened) != 0) {
        return systemError("cannot examine", path);
    }
    if (!S_ISREG(opened.st_mode)) {
        return path + " is not a regular file";
    }
    if (opened.st_uid != geteuid()) {
        return path + " belongs to another user (uid " + std::to_string(opened.st_uid) + ")";
    }
    if ((opened.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
        return path + " may be written by other users";
    }
    if (!lockWithin(fd_, setUpPatience)) {
        return errno == EWOULDBLOCK ? path + " stays locked by another process"
                                    : systemError("cannot lock", path);
    }
    return {};
}

// A process that found the file damaged removed it while this one waited for the lock.
bool StateFile::replacedMeanwhile(const std::string &path) const {
    struct stat opened {};
    struct stat named {};
    return fstat(fd_, &opened) != 0 || stat(path.c_str(), &named) != 0 ||
           named.st_ino != opened.st_ino || named.st_dev != opened.st_dev;
}

} // namespace simboard
