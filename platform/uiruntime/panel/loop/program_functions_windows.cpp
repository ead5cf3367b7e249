#include "program_functions.h"

#include <windows.h>

namespace panel {

// The executable's own export table; callbacks in a DLL the program loads are not looked
// for, as a panel file names the program's callbacks.
void *findExecutableExport(const char *name) {
    return reinterpret_cast<void *>(GetProcAddress(GetModuleHandleW(nullptr), name));
}

} // namespace panel
