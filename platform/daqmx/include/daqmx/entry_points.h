// The board driver's entry points, one row each: X(name, parameter list, argument list).
// Their declarations, the loader's table, look-up and forwarding functions, and the
// definitions of every driver library of ours are generated from these lists, so that an
// entry point is added in one place.  DAQmxGetErrorString stands apart because the loader
// answers for its own two codes instead of forwarding them.
#ifndef PLATFORM_DAQMX_INCLUDE_DAQMX_ENTRY_POINTS_H
#define PLATFORM_DAQMX_INCLUDE_DAQMX_ENTRY_POINTS_H

#define DAQMX_FORWARDED_ENTRY_POINTS(X)                                                            \
    X(DAQmxCreateTask, (const char taskName[], TaskHandle *taskHandle), (taskName, taskHandle))    \
    X(DAQmxStartTask, (TaskHandle taskHandle), (taskHandle))                                       \
    X(DAQmxStopTask, (TaskHandle taskHandle), (taskHandle))                                        \
    X(DAQmxClearTask, (TaskHandle taskHandle), (taskHandle))                                       \
    X(DAQmxCreateDIChan,                                                                           \
      (TaskHandle taskHandle, const char lines[], const char nameToAssignToLines[],                \
       int32 lineGrouping),                                                                        \
      (taskHandle, lines, nameToAssignToLines, lineGrouping))                                      \
    X(DAQmxCreateDOChan,                                                                           \
      (TaskHandle taskHandle, const char lines[], const char nameToAssignToLines[],                \
       int32 lineGrouping),                                                                        \
      (taskHandle, lines, nameToAssignToLines, lineGrouping))                                      \
    X(DAQmxCreateAIVoltageChan,                                                                    \
      (TaskHandle taskHandle, const char physicalChannel[], const char nameToAssignToChannel[],    \
       int32 terminalConfig, float64 minVal, float64 maxVal, int32 units,                          \
       const char customScaleName[]),                                                              \
      (taskHandle, physicalChannel, nameToAssignToChannel, terminalConfig, minVal, maxVal, units,  \
       customScaleName))                                                                           \
    X(DAQmxCreateAOVoltageChan,                                                                    \
      (TaskHandle taskHandle, const char physicalChannel[], const char nameToAssignToChannel[],    \
       float64 minVal, float64 maxVal, int32 units, const char customScaleName[]),                 \
      (taskHandle, physicalChannel, nameToAssignToChannel, minVal, maxVal, units,                  \
       customScaleName))                                                                           \
    X(DAQmxCfgSampClkTiming,                                                                       \
      (TaskHandle taskHandle, const char source[], float64 rate, int32 activeEdge,                 \
       int32 sampleMode, uInt64 sampsPerChan),                                                     \
      (taskHandle, source, rate, activeEdge, sampleMode, sampsPerChan))                            \
    X(DAQmxCfgAnlgEdgeStartTrig,                                                                   \
      (TaskHandle taskHandle, const char triggerSource[], int32 triggerSlope,                      \
       float64 triggerLevel),                                                                      \
      (taskHandle, triggerSource, triggerSlope, triggerLevel))                                     \
    X(DAQmxCfgDigEdgeStartTrig,                                                                    \
      (TaskHandle taskHandle, const char triggerSource[], int32 triggerEdge),                      \
      (taskHandle, triggerSource, triggerEdge))                                                    \
    X(DAQmxDisableStartTrig, (TaskHandle taskHandle), (taskHandle))                                \
    X(DAQmxGetSampClkRate, (TaskHandle taskHandle, float64 * data), (taskHandle, data))            \
    X(DAQmxGetAIConvRate, (TaskHandle taskHandle, float64 * data), (taskHandle, data))             \
    X(DAQmxGetReadTotalSampPerChanAcquired, (TaskHandle taskHandle, uInt64 * data),                \
      (taskHandle, data))                                                                          \
    X(DAQmxWriteDigitalU8,                                                                         \
      (TaskHandle taskHandle, int32 numSampsPerChan, bool32 autoStart, float64 timeout,            \
       bool32 dataLayout, const uInt8 writeArray[], int32 *sampsPerChanWritten, bool32 *reserved), \
      (taskHandle, numSampsPerChan, autoStart, timeout, dataLayout, writeArray,                    \
       sampsPerChanWritten, reserved))                                                             \
    X(DAQmxReadDigitalU8,                                                                          \
      (TaskHandle taskHandle, int32 numSampsPerChan, float64 timeout, bool32 fillMode,             \
       uInt8 readArray[], uInt32 arraySizeInSamps, int32 * sampsPerChanRead, bool32 * reserved),   \
      (taskHandle, numSampsPerChan, timeout, fillMode, readArray, arraySizeInSamps,                \
       sampsPerChanRead, reserved))                                                                \
    X(DAQmxWriteAnalogF64,                                                                         \
      (TaskHandle taskHandle, int32 numSampsPerChan, bool32 autoStart, float64 timeout,            \
       bool32 dataLayout, const float64 writeArray[], int32 *sampsPerChanWritten,                  \
       bool32 *reserved),                                                                          \
      (taskHandle, numSampsPerChan, autoStart, timeout, dataLayout, writeArray,                    \
       sampsPerChanWritten, reserved))                                                             \
    X(DAQmxReadAnalogF64,                                                                          \
      (TaskHandle taskHandle, int32 numSampsPerChan, float64 timeout, bool32 fillMode,             \
       float64 readArray[], uInt32 arraySizeInSamps, int32 * sampsPerChanRead, bool32 * reserved), \
      (taskHandle, numSampsPerChan, timeout, fillMode, readArray, arraySizeInSamps,                \
       sampsPerChanRead, reserved))

#define DAQMX_ENTRY_POINTS(X)                                                                      \
    DAQMX_FORWARDED_ENTRY_POINTS(X)                                                                \
    X(DAQmxGetErrorString, (int32 errorCode, char errorString[], uInt32 bufferSize),               \
      (errorCode, errorString, bufferSize))

#endif
