// The driver entry points this library exports, each a thin frame around the board.  They
// carry the library's export mark, which the declarations in daqmx.h leave to each driver.
#include "daqmx/daqmx.h"
#include "driver_call.h"
#include "names/status_codes.h"
#include <orvex/simboard_control.h>

#include <algorithm>
#include <cstring>

using simboard::AnalogLimits;
using simboard::Board;
using simboard::Direction;
using simboard::entryPointBoard;
using simboard::JournalLine;
using simboard::Lock;
using simboard::Outcome;

namespace {

uint64_t taskId(TaskHandle handle) {
    return reinterpret_cast<uintptr_t>(handle);
}

// The digital and analog reads and writes differ only in the sample type and the board
// operation.
template <class Sample>
using WriteOperation = Outcome (Board::*)(uint64_t, int32_t, bool, int32_t, const Sample *,
                                          int32_t *);
template <class Sample>
using ReadOperation = Outcome (Board::*)(Lock &, uint64_t, int32_t, double, Sample *, uint32_t,
                                         int32_t, int32_t *);
// The same read of a running task without the store's lock, where the board has one.
template <class Sample>
using UnlockedRead = bool (Board::*)(uint64_t, int32_t, Sample *, uint32_t, int32_t *);

template <class Sample>
int32 writeSamples(const char *entryPoint, WriteOperation<Sample> write, TaskHandle taskHandle,
                   int32 numSampsPerChan, bool32 autoStart, float64 timeout, bool32 dataLayout,
                   const Sample *writeArray, int32 *sampsPerChanWritten) {
    return simboard::driverCall(
        entryPoint,
        [&](Lock &) {
            return (entryPointBoard().*write)(taskId(taskHandle), numSampsPerChan, autoStart != 0,
                                              dataLayout, writeArray, sampsPerChanWritten);
        },
        [&](JournalLine &line) {
            line.task("task", taskHandle)
                .integer("numSampsPerChan", numSampsPerChan)
                .integer("autoStart", autoStart)
                .number("timeout", timeout)
                .integer("dataLayout", dataLayout)
                .values("writeArray", writeArray, numSampsPerChan);
        },
        simboard::BenchGate::Applies, simboard::lockPatienceFor(timeout));
}

template <class Sample>
int32 readSamples(const char *entryPoint, ReadOperation<Sample> read,
                  UnlockedRead<Sample> readUnlocked, TaskHandle taskHandle, int32 numSampsPerChan,
                  float64 timeout, bool32 fillMode, Sample *readArray, uInt32 arraySizeInSamps,
                  int32 *sampsPerChanRead) {
    int32 delivered = 0;
    return simboard::driverRead(
        entryPoint,
        [&] {
            if (readUnlocked == nullptr ||
                !(entryPointBoard().*readUnlocked)(taskId(taskHandle), numSampsPerChan, readArray,
                                                   arraySizeInSamps, &delivered)) {
                return false;
            }
            if (sampsPerChanRead != nullptr) {
                *sampsPerChanRead = delivered;
            }
            return true;
        },
        [&](Lock &lock) {
            Outcome outcome =
                (entryPointBoard().*read)(lock, taskId(taskHandle), numSampsPerChan, timeout,
                                          readArray, arraySizeInSamps, fillMode, &delivered);
            if (sampsPerChanRead != nullptr) {
                *sampsPerChanRead = delivered;
            }
            return outcome;
        },
        [&](JournalLine &line) {
            line.task("task", taskHandle)
                .integer("numSampsPerChan", numSampsPerChan)
                .number("timeout", timeout)
                .integer("fillMode", fillMode)
                .integer("arraySizeInSamps", arraySizeInSamps)
                .values("readArray", readArray, delivered)
                .integer("sampsPerChanRead", delivered);
        },
        simboard::lockPatienceFor(timeout));
}

} // namespace

SIMBOARD_API int32 DAQmxCreateTask(const char taskName[], TaskHandle *taskHandle) {
    return simboard::driverCall(
        "DAQmxCreateTask",
        [&](Lock &) {
            if (taskHandle == nullptr) {
                return simboard::refuse(simboard::status::invalidArgument,
                                        "The place for the task handle is null.");
            }
            uint64_t id = 0;
            Outcome outcome = entryPointBoard().createTask(taskName, id);
            *taskHandle = outcome.failed() ? nullptr : reinterpret_cast<TaskHandle>(id);
            return outcome;
        },
        [&](JournalLine &line) {
            line.text("taskName", taskName).task("taskHandle", taskHandle ? *taskHandle : nullptr);
        });
}

#define SIMBOARD_TASK_ENTRY_POINT(name, method)                                                    \
    SIMBOARD_API int32 name(TaskHandle taskHandle) {                                               \
        return simboard::driverCall(                                                               \
            #name, [&](Lock &) { return entryPointBoard().method(taskId(taskHandle)); },           \
            [&](JournalLine &line) { line.task("task", taskHandle); });                            \
    }
SIMBOARD_TASK_ENTRY_POINT(DAQmxStartTask, startTask)
SIMBOARD_TASK_ENTRY_POINT(DAQmxStopTask, stopTask)
SIMBOARD_TASK_ENTRY_POINT(DAQmxClearTask, clearTask)
SIMBOARD_TASK_ENTRY_POINT(DAQmxDisableStartTrig, disableStartTrigger)
#undef SIMBOARD_TASK_ENTRY_POINT

#define SIMBOARD_DIGITAL_CHANNEL_ENTRY_POINT(name, direction)                                      \
    SIMBOARD_API int32 name(TaskHandle taskHandle, const char lines[],                             \
                            const char nameToAssignToLines[], int32 lineGrouping) {                \
        return simboard::driverCall(                                                               \
            #name,                                                                                 \
            [&](Lock &) {                                                                          \
                return entryPointBoard().createDigitalChannel(taskId(taskHandle), lines,           \
                                                              lineGrouping, direction);            \
            },                                                                                     \
            [&](JournalLine &line) {                                                               \
                line.task("task", taskHandle)                                                      \
                    .text("lines", lines)                                                          \
                    .text("name", nameToAssignToLines)                                             \
                    .integer("lineGrouping", lineGrouping);                                        \
            });                                                                                    \
    }
SIMBOARD_DIGITAL_CHANNEL_ENTRY_POINT(DAQmxCreateDIChan, Direction::Input)
SIMBOARD_DIGITAL_CHANNEL_ENTRY_POINT(DAQmxCreateDOChan, Direction::Output)
#undef SIMBOARD_DIGITAL_CHANNEL_ENTRY_POINT

SIMBOARD_API int32 DAQmxCreateAIVoltageChan(TaskHandle taskHandle, const char physicalChannel[],
                                            const char nameToAssignToChannel[],
                                            int32 terminalConfig, float64 minVal, float64 maxVal,
                                            int32 units, const char customScaleName[]) {
    return simboard::driverCall(
        "DAQmxCreateAIVoltageChan",
        [&](Lock &) {
            AnalogLimits limits{Direction::Input, {}, minVal, maxVal, units, customScaleName};
            if (Outcome outcome = simboard::terminalFromDriver(terminalConfig, limits.terminal);
                outcome.failed()) {
                return outcome;
            }
            return entryPointBoard().createAnalogChannel(taskId(taskHandle), physicalChannel,
                                                         limits);
        },
        [&](JournalLine &line) {
            line.task("task", taskHandle)
                .text("physicalChannel", physicalChannel)
                .text("name", nameToAssignToChannel)
                .integer("terminalConfig", terminalConfig)
                .number("minVal", minVal)
                .number("maxVal", maxVal)
                .integer("units", units)
                .text("customScaleName", customScaleName);
        });
}

SIMBOARD_API int32 DAQmxCreateAOVoltageChan(TaskHandle taskHandle, const char physicalChannel[],
                                            const char nameToAssignToChannel[], float64 minVal,
                                            float64 maxVal, int32 units,
                                            const char customScaleName[]) {
    return simboard::driverCall(
        "DAQmxCreateAOVoltageChan",
        [&](Lock &) {
            AnalogLimits limits{Direction::Output, {}, minVal, maxVal, units, customScaleName};
            return entryPointBoard().createAnalogChannel(taskId(taskHandle), physicalChannel,
                                                         limits);
        },
        [&](JournalLine &line) {
            line.task("task", taskHandle)
                .text("physicalChannel", physicalChannel)
                .text("name", nameToAssignToChannel)
                .number("minVal", minVal)
                .number("maxVal", maxVal)
                .integer("units", units)
                .text("customScaleName", customScaleName);
        });
}

SIMBOARD_API int32 DAQmxCfgSampClkTiming(TaskHandle taskHandle, const char source[], float64 rate,
                                         int32 activeEdge, int32 sampleMode, uInt64 sampsPerChan) {
    return simboard::driverCall(
        "DAQmxCfgSampClkTiming",
        [&](Lock &) {
            return entryPointBoard().configureSampleClock(taskId(taskHandle), source, rate,
                                                          activeEdge, sampleMode, sampsPerChan);
        },
        [&](JournalLine &line) {
            line.task("task", taskHandle)
                .text("source", source)
                .number("rate", rate)
                .integer("activeEdge", activeEdge)
                .integer("sampleMode", sampleMode)
                .integer("sampsPerChan", static_cast<int64_t>(sampsPerChan));
        });
}

SIMBOARD_API int32 DAQmxCfgAnlgEdgeStartTrig(TaskHandle taskHandle, const char triggerSource[],
                                             int32 triggerSlope, float64 triggerLevel) {
    return simboard::driverCall(
        "DAQmxCfgAnlgEdgeStartTrig",
        [&](Lock &) {
            return entryPointBoard().configureStartTrigger(taskId(taskHandle), triggerSource,
                                                           triggerSlope, triggerLevel);
        },
        [&](JournalLine &line) {
            line.task("task", taskHandle)
                .text("triggerSource", triggerSource)
                .integer("triggerSlope", triggerSlope)
                .number("triggerLevel", triggerLevel);
        });
}

SIMBOARD_API int32 DAQmxCfgDigEdgeStartTrig(TaskHandle taskHandle, const char triggerSource[],
                                            int32 triggerEdge) {
    return simboard::driverCall(
        "DAQmxCfgDigEdgeStartTrig",
        [&](Lock &) {
            return entryPointBoard().configureDigitalStartTrigger(taskId(taskHandle), triggerSource,
                                                                  triggerEdge);
        },
        [&](JournalLine &line) {
            line.task("task", taskHandle)
                .text("triggerSource", triggerSource)
                .integer("triggerEdge", triggerEdge);
        });
}

// The journal shows the value a property call gave, or 0 when it failed.
#define SIMBOARD_PROPERTY_ENTRY_POINT(name, type, method)                                          \
    /* a type cannot be put in parentheses */ /* NOLINTNEXTLINE(bugprone-macro-parentheses) */     \
    SIMBOARD_API int32 name(TaskHandle taskHandle, type *data) {                                   \
        type value = 0;                                                                            \
        return simboard::driverCall(                                                               \
            #name,                                                                                 \
            [&](Lock &) {                                                                          \
                Outcome outcome = entryPointBoard().method(taskId(taskHandle), data);              \
                value = data != nullptr && !outcome.failed() ? *data : 0;                          \
                return outcome;                                                                    \
            },                                                                                     \
            [&](JournalLine &line) {                                                               \
                line.task("task", taskHandle).number("data", static_cast<double>(value));          \
            });                                                                                    \
    }
SIMBOARD_PROPERTY_ENTRY_POINT(DAQmxGetSampClkRate, float64, sampleClockRate)
SIMBOARD_PROPERTY_ENTRY_POINT(DAQmxGetAIConvRate, float64, convertRate)
SIMBOARD_PROPERTY_ENTRY_POINT(DAQmxGetReadTotalSampPerChanAcquired, uInt64, acquiredPerChannel)
#undef SIMBOARD_PROPERTY_ENTRY_POINT

SIMBOARD_API int32 DAQmxWriteDigitalU8(TaskHandle taskHandle, int32 numSampsPerChan,
                                       bool32 autoStart, float64 timeout, bool32 dataLayout,
                                       const uInt8 writeArray[], int32 *sampsPerChanWritten,
                                       bool32 *) {
    return writeSamples("DAQmxWriteDigitalU8", &Board::writeDigital, taskHandle, numSampsPerChan,
                        autoStart, timeout, dataLayout, writeArray, sampsPerChanWritten);
}

SIMBOARD_API int32 DAQmxReadDigitalU8(TaskHandle taskHandle, int32 numSampsPerChan, float64 timeout,
                                      bool32 fillMode, uInt8 readArray[], uInt32 arraySizeInSamps,
                                      int32 *sampsPerChanRead, bool32 *) {
    return readSamples("DAQmxReadDigitalU8", &Board::readDigital, &Board::readStartedDigital,
                       taskHandle, numSampsPerChan, timeout, fillMode, readArray, arraySizeInSamps,
                       sampsPerChanRead);
}

SIMBOARD_API int32 DAQmxWriteAnalogF64(TaskHandle taskHandle, int32 numSampsPerChan,
                                       bool32 autoStart, float64 timeout, bool32 dataLayout,
                                       const float64 writeArray[], int32 *sampsPerChanWritten,
                                       bool32 *) {
    return writeSamples("DAQmxWriteAnalogF64", &Board::writeAnalog, taskHandle, numSampsPerChan,
                        autoStart, timeout, dataLayout, writeArray, sampsPerChanWritten);
}

SIMBOARD_API int32 DAQmxReadAnalogF64(TaskHandle taskHandle, int32 numSampsPerChan, float64 timeout,
                                      bool32 fillMode, float64 readArray[], uInt32 arraySizeInSamps,
                                      int32 *sampsPerChanRead, bool32 *) {
    return readSamples<float64>("DAQmxReadAnalogF64", &Board::readAnalog, nullptr, taskHandle,
                                numSampsPerChan, timeout, fillMode, readArray, arraySizeInSamps,
                                sampsPerChanRead);
}

// A buffer of size 0 (or none) asks for the size the text needs, as the driver does.
SIMBOARD_API int32 DAQmxGetErrorString(int32 errorCode, char errorString[], uInt32 bufferSize) {
    return simboard::driverCall(
        "DAQmxGetErrorString",
        [&](Lock &) {
            std::string text = entryPointBoard().describe(errorCode);
            if (errorString == nullptr || bufferSize == 0) {
                return Outcome{static_cast<int32>(text.size() + 1), {}};
            }
            size_t copied = std::min<size_t>(text.size(), bufferSize - 1);
            std::memcpy(errorString, text.data(), copied);
            errorString[copied] = '\0';
            return Outcome{};
        },
        [&](JournalLine &line) {
            line.integer("errorCode", errorCode).integer("bufferSize", bufferSize);
        },
        simboard::BenchGate::Explains);
}
