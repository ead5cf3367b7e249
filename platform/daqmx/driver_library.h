/* The loading layer's own calls, beside the driver entry points it forwards. */
#ifndef ORVEX_PLATFORM_DAQMX_DRIVER_LIBRARY_H
#define ORVEX_PLATFORM_DAQMX_DRIVER_LIBRARY_H

#include "daqmx.h"

/* The layer's own calls stay inside the library that links the layer in.  A DLL exports
 * only what it marks, so Windows needs no mark. */
#if defined(_WIN32)
#define DAQMX_LAYER_CALL
#else
#define DAQMX_LAYER_CALL __attribute__((visibility("hidden")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Loads the driver now unless it is loaded: 0, DAQMX_ERROR_LIBRARY_NOT_LOADED or
 * DAQMX_ERROR_ENTRY_POINT_MISSING.  A failed load is tried again on the next call. */
DAQMX_LAYER_CALL int32 daqmxLoadDriver(void);

/* The library that was loaded, or else the one the next load will try: ORVEX_DRIVER
 * when it is set and not empty, otherwise the vendor's library name. */
DAQMX_LAYER_CALL const char *daqmxDriverLibrary(void);

#ifdef __cplusplus
}
#endif

#endif
