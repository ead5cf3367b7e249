/* The loading layer's own calls, beside the driver entry points it forwards.  Like them
 * they stay inside the library that links the layer in. */
#ifndef PLATFORM_DAQMX_INCLUDE_DAQMX_DRIVER_LIBRARY_H
#define PLATFORM_DAQMX_INCLUDE_DAQMX_DRIVER_LIBRARY_H

#include "daqmx.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Loads the driver now unless it is loaded: 0, DAQMX_ERROR_LIBRARY_NOT_LOADED or
 * DAQMX_ERROR_ENTRY_POINT_MISSING.  A failed load is tried again on the next call. */
int32 daqmxLoadDriver(void);

/* The library that was loaded, or else the one the next load will try: ORVEX_DRIVER
 * when it is set and not empty, otherwise the vendor's library name. */
const char *daqmxDriverLibrary(void);

#ifdef __cplusplus
}
#endif

#endif
