// Loads the board driver's shared library on the first driver call and forwards every
// call to the entry point of the same name.  A failed load is not remembered: the next
// call tries again, so a program started before the driver was installed recovers.
#include "daqmx/daqmx.h"
#include "daqmx/driver_library.h"
#include "daqmx/entry_points.h"
#include "host/host_text.h"
#include "system_library.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <exception>
#include <mutex>
#include <string>
#include <utility>

namespace {

constexpr const char *libraryNotLoadedText =
    "Unable to load NI-DAQmx dynamic link library NICAIU.DLL.\n\n"
    "Ensure that NI-DAQmx is installed on your machine.\n";
constexpr const char *entryPointMissingText =
    "Unable to find function in NI-DAQmx dynamic link library (DLL) NICAIU.DLL.\n\n"
    "The DLL exists on your computer, but the version is incorrect. Install the correct "
    "version of the DLL on your machine.\n";

struct DriverTable {
// The argument names a member, which cannot stand in parentheses.
// NOLINTNEXTLINE(bugprone-macro-parentheses)
#define DRIVER_TABLE_FIELD(name, params, args) decltype(&::name) name = nullptr;
    DAQMX_ENTRY_POINTS(DRIVER_TABLE_FIELD)
#undef DRIVER_TABLE_FIELD
};

// Published once, after every entry point was found; read without a lock afterwards.
std::atomic<const DriverTable *> loadedDriver{nullptr};
DriverTable driverTable;
std::string loadedLibraryName; // written once, before the table is published
std::mutex loadMutex;

std::string driverLibraryName() {
    const std::string name = host::environment("ORVEX_DRIVER");
    return name.empty() ? daqmx::vendorLibraryName : name;
}

int32 loadUnderLock(const DriverTable *&driver) {
    if ((driver = loadedDriver.load(std::memory_order_acquire)) != nullptr) {
        return 0;
    }
    std::string name = driverLibraryName();
    daqmx::LibraryHandle library = daqmx::openLibrary(name);
    if (library == nullptr) {
        return DAQMX_ERROR_LIBRARY_NOT_LOADED;
    }
    DriverTable found;
    bool complete = true;
#define LOOK_UP_ENTRY_POINT(name, params, args)                                                    \
    found.name = reinterpret_cast<decltype(found.name)>(daqmx::findEntryPoint(library, #name));    \
    complete = complete && found.name != nullptr;
    DAQMX_ENTRY_POINTS(LOOK_UP_ENTRY_POINT)
#undef LOOK_UP_ENTRY_POINT
    if (!complete) {
        daqmx::closeLibrary(library);
        return DAQMX_ERROR_ENTRY_POINT_MISSING;
    }
    driverTable = found;
    loadedLibraryName = std::move(name); // no allocation, so nothing can fail here
    driver = &driverTable;
    loadedDriver.store(driver, std::memory_order_release);
    return 0;
}

int32 loadDriver(const DriverTable *&driver) {
    if ((driver = loadedDriver.load(std::memory_order_acquire)) != nullptr) {
        return 0;
    }
    try {
        std::lock_guard<std::mutex> lock(loadMutex);
        return loadUnderLock(driver);
    } catch (const std::exception &) { // the lock, or memory for the library's name
        return DAQMX_ERROR_LIBRARY_NOT_LOADED;
    }
}

const char *loadingLayerText(int32 status) {
    switch (status) {
    case DAQMX_ERROR_LIBRARY_NOT_LOADED:
        return libraryNotLoadedText;
    case DAQMX_ERROR_ENTRY_POINT_MISSING:
        return entryPointMissingText;
    default:
        return nullptr;
    }
}

void copyCut(const char *text, char *buffer, uInt32 bufferSize) {
    if (buffer == nullptr || bufferSize == 0) {
        return;
    }
    const size_t length = std::min<size_t>(std::strlen(text), bufferSize - 1);
    std::memcpy(buffer, text, length);
    buffer[length] = '\0';
}

} // namespace

#define FORWARD_ENTRY_POINT(name, params, args)                                                    \
    extern "C" int32 name params {                                                                 \
        const DriverTable *driver = nullptr;                                                       \
        if (const int32 status = loadDriver(driver); status < 0) {                                 \
            return status;                                                                         \
        }                                                                                          \
        return driver->name args;                                                                  \
    }
DAQMX_FORWARDED_ENTRY_POINTS(FORWARD_ENTRY_POINT)
#undef FORWARD_ENTRY_POINT

extern "C" int32 DAQmxGetErrorString(int32 errorCode, char errorString[], uInt32 bufferSize) {
    if (const char *text = loadingLayerText(errorCode)) {
        copyCut(text, errorString, bufferSize);
        return 0;
    }
    const DriverTable *driver = nullptr;
    if (const int32 status = loadDriver(driver); status < 0) {
        copyCut(loadingLayerText(status), errorString, bufferSize);
        return status;
    }
    return driver->DAQmxGetErrorString(errorCode, errorString, bufferSize);
}

extern "C" int32 daqmxLoadDriver(void) {
    const DriverTable *driver = nullptr;
    return loadDriver(driver);
}

extern "C" const char *daqmxDriverLibrary(void) {
    if (loadedDriver.load(std::memory_order_acquire) != nullptr) {
        return loadedLibraryName.c_str();
    }
    // The environment's value is a copy (converted from UTF-16 on Windows), kept here
    // until this thread asks again.
    thread_local std::string nextLibraryName;
    try {
        nextLibraryName = driverLibraryName();
    } catch (const std::exception &) { // no memory for the name
        return "";
    }
    return nextLibraryName.c_str();
}
