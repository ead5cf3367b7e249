#include "system_library.h"

#include <dlfcn.h>

namespace daqmx {

const char *const vendorLibraryName = "libnidaqmx.so";

LibraryHandle openLibrary(const std::string &utf8Name) {
    return dlopen(utf8Name.c_str(), RTLD_NOW | RTLD_LOCAL);
}

void *findEntryPoint(LibraryHandle library, const char *name) {
    return dlsym(library, name);
}

void closeLibrary(LibraryHandle library) {
    dlclose(library);
}

} // namespace daqmx
