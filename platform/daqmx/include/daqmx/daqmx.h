/* Board driver operations that the orvex library calls, with the driver's C types.
 *
 * Both sides of the driver use these declarations: the loading layer that the orvex
 * library calls through, and the driver libraries (the simulated board, the recording
 * test driver) that a program loads.  Whether a definition is exported is each side's
 * own business: the loading layer is built with hidden symbols, so that a program may
 * load the vendor library beside ours without the two clashing; a driver library marks
 * its definitions for export.
 */
#ifndef PLATFORM_DAQMX_INCLUDE_DAQMX_H
#define PLATFORM_DAQMX_INCLUDE_DAQMX_H

#include "entry_points.h"

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef int32_t int32;
typedef uint32_t uInt32;
typedef uint64_t uInt64;
typedef double float64;
typedef uint32_t bool32;
typedef uint8_t uInt8;
typedef void *TaskHandle; /* null = no task */

/* On Windows only 64-bit builds are made: x64 has the one calling convention, which is
 * the driver's C convention, so the entry points need no convention of their own. */
#if defined(_WIN32) && !defined(_WIN64)
#error "the driver layer is built for 64-bit Windows only"
#endif

/* Status codes of the loading layer. */
#define DAQMX_ERROR_LIBRARY_NOT_LOADED (-200397)
#define DAQMX_ERROR_ENTRY_POINT_MISSING (-200398)

/* Parameter values the library passes. */
#define DAQmx_Val_ChanForAllLines 1
#define DAQmx_Val_RSE 10083
#define DAQmx_Val_NRSE 10078
#define DAQmx_Val_Diff 10106
#define DAQmx_Val_Volts 10348
#define DAQmx_Val_Rising 10280
#define DAQmx_Val_Falling 10171
#define DAQmx_Val_RisingSlope 10280
#define DAQmx_Val_FallingSlope 10171
#define DAQmx_Val_ContSamps 10123
#define DAQmx_Val_FiniteSamps 10178
#define DAQmx_Val_GroupByChannel 0
#define DAQmx_Val_GroupByScanNumber 1

#define DAQMX_DECLARE_ENTRY_POINT(name, params, args) int32 name params;
DAQMX_ENTRY_POINTS(DAQMX_DECLARE_ENTRY_POINT)
#undef DAQMX_DECLARE_ENTRY_POINT

#ifdef __cplusplus
}
#endif

#endif
