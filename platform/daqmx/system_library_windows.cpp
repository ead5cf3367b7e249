#include "system_library.h"

#include "host/host_text.h"

#include <algorithm>
#include <windows.h>

namespace daqmx {

const char *const vendorLibraryName = "nicaiu.dll";

LibraryHandle openLibrary(const std::string &utf8Name) {
    // No error box when the library, or one it needs, is missing: the caller gets a status.
    const UINT previousMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    // The loader takes a path with backslashes only; ORVEX_DRIVER may have either.
    std::wstring path = host::wideFromUtf8(utf8Name);
    std::replace(path.begin(), path.end(), L'/', L'\\');
    HMODULE library = LoadLibraryW(path.c_str());
    SetErrorMode(previousMode);
    return reinterpret_cast<LibraryHandle>(library);
}

void *findEntryPoint(LibraryHandle library, const char *name) {
    return reinterpret_cast<void *>(GetProcAddress(static_cast<HMODULE>(library), name));
}

void closeLibrary(LibraryHandle library) {
    FreeLibrary(static_cast<HMODULE>(library));
}

} // namespace daqmx
