#include "journal.h"

#include "host/host_text.h"

#include <cerrno>
#include <cinttypes>
#include <cstring>

namespace simboard {
std::string JournalLine::format(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.9g", value);
    return buffer;
}

JournalLine::JournalLine(std::string_view entryPoint) : line_(entryPoint) {
    line_ += '(';
}

void JournalLine::name(std::string_view name) {
    if (!first_) {
        line_ += ", ";
    }
    first_ = false;
    line_ += name;
    line_ += '=';
}

JournalLine &JournalLine::text(std::string_view name, const char *value) {
    this->name(name);
    if (value == nullptr) {
        line_ += "NULL";
        return *this;
    }
    line_ += '"';
    for (const char *c = value; *c != '\0'; ++c) {
        if (*c == '"' || *c == '\\') {
            line_ += '\\';
        }
        line_ += (*c == '\n') ? ' ' : *c;
    }
    line_ += '"';
    return *this;
}

JournalLine &JournalLine::number(std::string_view name, double value) {
    this->name(name);
    line_ += format(value);
    return *this;
}

JournalLine &JournalLine::integer(std::string_view name, int64_t value) {
    this->name(name);
    line_ += std::to_string(value);
    return *this;
}

JournalLine &JournalLine::task(std::string_view name, const void *handle) {
    this->name(name);
    line_ += std::to_string(reinterpret_cast<uintptr_t>(handle));
    return *this;
}

std::string JournalLine::finish(int32_t status, bool injected) {
    line_ += ") = " + std::to_string(status);
    if (injected) {
        line_ += " (injected)";
    }
    line_ += '\n';
    return std::move(line_);
}

Journal::~Journal() {
    if (file_ != nullptr) {
        std::fclose(file_);
    }
}

void Journal::open(const char *path) {
    if (path == nullptr || path[0] == '\0') {
        return;
    }
    path_ = path;
    file_ = host::openFile(path, "a");
    if (file_ == nullptr) {
        std::fprintf(stderr, "simulated board: cannot open the journal file %s\n", path);
    }
}

void Journal::write(const std::string &line) {
    if (file_ == nullptr) {
        return;
    }
    const bool written = std::fputs(line.c_str(), file_) >= 0 && std::fflush(file_) == 0;
    if (!written && !failureReported_) {
        failureReported_ = true;
        std::fprintf(stderr,
                     "simulated board: cannot write the journal file %s (%s); the lines "
                     "that cannot be written are missing from it\n",
                     path_.c_str(), std::strerror(errno));
    }
    std::clearerr(file_);
}

} // namespace simboard
