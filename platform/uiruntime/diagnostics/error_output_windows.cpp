#include "error_output.h"

#include "host/host_text.h"

#include <cstdio>
#include <windows.h>

namespace diagnostics {

// A console shows UTF-16 through WriteConsoleW whatever its code page; a file or a pipe
// gets the UTF-8 bytes unchanged.
void writeErrorOutput(const char *utf8) {
    HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    DWORD mode = 0;
    if (error != INVALID_HANDLE_VALUE && error != nullptr && GetConsoleMode(error, &mode)) {
        std::fflush(stderr);
        const std::wstring wide = host::wideFromUtf8(utf8);
        DWORD written = 0;
        WriteConsoleW(error, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
        return;
    }
    std::fputs(utf8, stderr);
    std::fflush(stderr);
}

} // namespace diagnostics
