// The one place where the driver layer meets the operating system's loader.  Each
// platform has its own form of these; the loading rules stay in driver_loader.cpp.
#ifndef PLATFORM_DAQMX_SYSTEM_LIBRARY_H
#define PLATFORM_DAQMX_SYSTEM_LIBRARY_H

#include <string>

namespace daqmx {

using LibraryHandle = void *;

// The vendor driver's file name, loaded when ORVEX_DRIVER names none.
extern const char *const vendorLibraryName;

// Null when the library cannot be loaded.
LibraryHandle openLibrary(const std::string &utf8Name);
void *findEntryPoint(LibraryHandle library, const char *name);
void closeLibrary(LibraryHandle library);

} // namespace daqmx

#endif
