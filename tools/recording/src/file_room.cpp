#include "file_room.h"

#include <recording/recorder.h>

#include <fcntl.h>

#include <cstring>

namespace recording {

void FileRoom::reserve(std::uint64_t bytes) {
    if (bytes + margin <= reserved_) {
        return;
    }
    // Ahead by the margin and an eighth of the file, so that a steady recording asks the
    // system seldom.
    const std::uint64_t wanted = bytes + 2 * margin + bytes / 8;
    const int failure = posix_fallocate(descriptor_, 0, static_cast<off_t>(wanted));
    if (failure != 0) {
        throw RecordingError("cannot make room in " + path_ + ": " + std::strerror(failure));
    }
    reserved_ = wanted;
}

} // namespace recording
