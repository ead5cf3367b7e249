#include "output_file.h"

#include "core/tool_errors.h"
#include "core/values.h"
#include "os/file_descriptor.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace orvex_cli {
namespace {

constexpr std::size_t bufferSize = 1 << 20;

std::string failure(const std::string &path, int error) {
    return "cannot write " + path + ": " + std::strerror(error);
}

} // namespace

OutputFile::OutputFile(const std::string &path, std::size_t recordSize)
    : path(path == "-" ? "standard output" : shortened(path, longestPathEcho)),
      recordSize(recordSize) {
    if (path == "-") {
        fd = descriptor::standardOutput;
    } else {
        fd = descriptor::create(path);
        if (fd < 0) {
            throw UsageError(failure(this->path, errno));
        }
        ownsDescriptor = true;
    }
    seekable = descriptor::isRegularFile(fd);
    if (seekable) {
        writtenEnd = descriptor::position(fd);
    }
    buffer.resize(bufferSize);
}

OutputFile::~OutputFile() {
    if (ownsDescriptor && fd >= 0) {
        descriptor::close(fd);
    }
}

char *OutputFile::reserve(std::size_t bytes) {
    if (buffer.size() - used < bytes) {
        flush();
        if (buffer.size() < bytes) {
            buffer.resize(bytes);
        }
    }
    return buffer.data() + used;
}

void OutputFile::commit(std::size_t bytes, std::uint64_t samples) {
    used += bytes;
    bufferedSamples += samples;
    if (samples == 0) {
        headerBytes += bytes;
    }
}

std::size_t OutputFile::wholeRecordsEnd(std::size_t written) const {
    if (written <= headerBytes) {
        return written;
    }
    if (recordSize != 0) {
        return headerBytes + (written - headerBytes) / recordSize * recordSize;
    }
    const auto *start = buffer.data() + headerBytes;
    const auto *end = buffer.data() + written;
    while (end != start && end[-1] != '\n') {
        --end;
    }
    return static_cast<std::size_t>(end - buffer.data());
}

std::uint64_t OutputFile::samplesIn(std::size_t end) const {
    if (end <= headerBytes) {
        return 0;
    }
    if (recordSize != 0) {
        return (end - headerBytes) / recordSize;
    }
    return static_cast<std::uint64_t>(
        std::count(buffer.data() + headerBytes, buffer.data() + end, '\n'));
}

void OutputFile::append(std::string_view text) {
    std::memcpy(reserve(text.size()), text.data(), text.size());
    commit(text.size(), 0);
}

void OutputFile::flush() {
    std::size_t done = 0;
    while (done < used) {
        const std::int64_t written = descriptor::write(fd, buffer.data() + done, used - done);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            const int error = written < 0 ? errno : ENOSPC;
            const std::size_t kept = wholeRecordsEnd(done);
            const auto keptEnd = writtenEnd + static_cast<std::int64_t>(kept);
            if (seekable) {
                descriptor::cutAt(fd, keptEnd);
            }
            writtenEnd = keptEnd;
            writtenSamples += samplesIn(kept);
            used = 0;
            bufferedSamples = 0;
            headerBytes = 0;
            throw CommandFailed(failure(path, error));
        }
        done += static_cast<std::size_t>(written);
    }
    writtenEnd += static_cast<std::int64_t>(used);
    writtenSamples += bufferedSamples;
    used = 0;
    bufferedSamples = 0;
    headerBytes = 0;
}

void OutputFile::close() {
    flush();
    if (ownsDescriptor) {
        const int result = descriptor::close(fd);
        fd = -1;
        if (result != 0) {
            throw CommandFailed(failure(path, errno));
        }
    }
}

} // namespace orvex_cli
