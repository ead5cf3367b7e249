/* Board driver operations that the orvex library calls, with the driver's C types.
 *
 * Inside our own binaries these functions are a thin layer that loads the board
 * driver's shared library on first use and forwards each call to the entry point
 * of the same name.  The layer's symbols are hidden, so a program may load the
 * vendor library beside ours without the two clashing.
 *
 * A driver library (the simulated board, the recording test driver) includes this
 * header with DAQMX_EXPORT_ENTRY_POINTS defined, which makes the same declarations
 * its exported entry points.
 */
#ifndef ORVEX_PLATFORM_DAQMX_H
#define ORVEX_PLATFORM_DAQMX_H

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

#if defined(_WIN32) && defined(DAQMX_EXPORT_ENTRY_POINTS)
#define DAQMX_API __declspec(dllexport)
#elif defined(_WIN32)
#define DAQMX_API /* a DLL exports only what it marks, so the layer stays inside */
#elif defined(DAQMX_EXPORT_ENTRY_POINTS)
#define DAQMX_API __attribute__((visibility("default")))
#else
#define DAQMX_API __attribute__((visibility("hidden")))
#endif

/* Status codes of the loading layer. */
#define DAQMX_ERROR_LIBRARY_NOT_LOADED (-200397)
#define DAQMX_ERROR_ENTRY_POINT_MISSING (-200398)

/* Parameter values the library passes. */
#define DAQmx_Val_ChanForAllLines 1
#define DAQmx_Val_RSE 10083
#define DAQmx_Val_Volts 10348
#define DAQmx_Val_Rising 10280
#define DAQmx_Val_RisingSlope 10280
#define DAQmx_Val_ContSamps 10123
#define DAQmx_Val_GroupByChannel 0

DAQMX_API int32 DAQmxCreateTask(const char taskName[], TaskHandle *taskHandle);
DAQMX_API int32 DAQmxStartTask(TaskHandle taskHandle);
DAQMX_API int32 DAQmxStopTask(TaskHandle taskHandle);
DAQMX_API int32 DAQmxClearTask(TaskHandle taskHandle);

DAQMX_API int32 DAQmxCreateDIChan(TaskHandle taskHandle, const char lines[],
                                  const char nameToAssignToLines[], int32 lineGrouping);
DAQMX_API int32 DAQmxCreateDOChan(TaskHandle taskHandle, const char lines[],
                                  const char nameToAssignToLines[], int32 lineGrouping);
DAQMX_API int32 DAQmxCreateAIVoltageChan(TaskHandle taskHandle, const char physicalChannel[],
                                         const char nameToAssignToChannel[], int32 terminalConfig,
                                         float64 minVal, float64 maxVal, int32 units,
                                         const char customScaleName[]);
DAQMX_API int32 DAQmxCreateAOVoltageChan(TaskHandle taskHandle, const char physicalChannel[],
                                         const char nameToAssignToChannel[], float64 minVal,
                                         float64 maxVal, int32 units, const char customScaleName[]);

DAQMX_API int32 DAQmxCfgSampClkTiming(TaskHandle taskHandle, const char source[], float64 rate,
                                      int32 activeEdge, int32 sampleMode, uInt64 sampsPerChan);
DAQMX_API int32 DAQmxCfgAnlgEdgeStartTrig(TaskHandle taskHandle, const char triggerSource[],
                                          int32 triggerSlope, float64 triggerLevel);
DAQMX_API int32 DAQmxDisableStartTrig(TaskHandle taskHandle);

DAQMX_API int32 DAQmxWriteDigitalU8(TaskHandle taskHandle, int32 numSampsPerChan, bool32 autoStart,
                                    float64 timeout, bool32 dataLayout, const uInt8 writeArray[],
                                    int32 *sampsPerChanWritten, bool32 *reserved);
DAQMX_API int32 DAQmxReadDigitalU8(TaskHandle taskHandle, int32 numSampsPerChan, float64 timeout,
                                   bool32 fillMode, uInt8 readArray[], uInt32 arraySizeInSamps,
                                   int32 *sampsPerChanRead, bool32 *reserved);
DAQMX_API int32 DAQmxWriteAnalogF64(TaskHandle taskHandle, int32 numSampsPerChan, bool32 autoStart,
                                    float64 timeout, bool32 dataLayout, const float64 writeArray[],
                                    int32 *sampsPerChanWritten, bool32 *reserved);
DAQMX_API int32 DAQmxReadAnalogF64(TaskHandle taskHandle, int32 numSampsPerChan, float64 timeout,
                                   bool32 fillMode, float64 readArray[], uInt32 arraySizeInSamps,
                                   int32 *sampsPerChanRead, bool32 *reserved);

DAQMX_API int32 DAQmxGetErrorString(int32 errorCode, char errorString[], uInt32 bufferSize);

#ifdef __cplusplus
}
#endif

#endif
