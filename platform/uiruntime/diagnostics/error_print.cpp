#include "uiruntime/diagnostics.h"

#include "error_output.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <vector>

namespace {

std::atomic<ErrorPrintSink> errorPrintSink{nullptr};

} // namespace

extern "C" int ErrorPrintf(const char *format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (length < 0) {
        va_end(args);
        return -1;
    }
    std::vector<char> printed(static_cast<size_t>(length) + 1);
    std::vsnprintf(printed.data(), printed.size(), format, args);
    va_end(args);

    diagnostics::writeErrorOutput(printed.data());
    if (ErrorPrintSink sink = errorPrintSink.load()) {
        sink(printed.data());
    }
    return length;
}

extern "C" void SetErrorPrintSink(ErrorPrintSink sink) {
    errorPrintSink.store(sink);
}
