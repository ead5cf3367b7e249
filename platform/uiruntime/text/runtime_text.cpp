#include "uiruntime/runtime_text.h"

#include <cstdarg>
#include <cstdio>

namespace {

int toLowerAscii(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? c - 'A' + 'a' : c;
}

} // namespace

extern "C" int Fmt(char *buffer, size_t bufferSize, const char *format, ...) {
    if (buffer == nullptr || bufferSize == 0) {
        return -1;
    }
    va_list args;
    va_start(args, format);
    const int length = std::vsnprintf(buffer, bufferSize, format, args);
    va_end(args);
    if (length < 0) {
        buffer[0] = '\0';
        return -1;
    }
    return static_cast<size_t>(length) < bufferSize ? length : -1;
}

extern "C" int CompareStrings(const char *text1, int start1, const char *text2, int start2,
                              int caseSensitive) {
    const auto *a = reinterpret_cast<const unsigned char *>(text1 + start1);
    const auto *b = reinterpret_cast<const unsigned char *>(text2 + start2);
    for (;; ++a, ++b) {
        const int ca = caseSensitive ? *a : toLowerAscii(*a);
        const int cb = caseSensitive ? *b : toLowerAscii(*b);
        if (ca != cb || ca == 0) {
            return ca - cb;
        }
    }
}
