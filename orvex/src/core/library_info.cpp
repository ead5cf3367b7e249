// What a program can ask about the library itself: its version and its board driver.
#include "daqmx/driver_library.h"
#include "operation_ending.h"
#include <orvex.h>

using namespace orvex;

extern "C" const char *orvex_version(void) {
    return ORVEX_VERSION_STRING;
}

extern "C" int orvex_driverLoad(void) {
    return finish(daqmxLoadDriver());
}

extern "C" const char *orvex_driverLibrary(void) {
    return daqmxDriverLibrary();
}
