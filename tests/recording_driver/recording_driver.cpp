// A board driver for tests: records each call, answers from scripts.  See
// recording_driver.h for what it answers when nothing is scripted.
#include "recording_driver.h"
#include "daqmx/daqmx.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <deque>
#include <string>
#include <string_view>
#include <type_traits>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace {

// The entry points are this library's exports, as a driver's are.
#ifdef _WIN32
#define DRIVER_ENTRY_POINT __declspec(dllexport)
#else
#define DRIVER_ENTRY_POINT __attribute__((visibility("default")))
#endif

// Entry points counted for scripting, in the order of the driver's list, then one slot for
// every other name.
constexpr std::array entryPointNames{
#define ENTRY_POINT_NAME(name, params, args) std::string_view(#name),
    DAQMX_ENTRY_POINTS(ENTRY_POINT_NAME)
#undef ENTRY_POINT_NAME
        std::string_view("unknown")};

std::size_t entryPointIndex(std::string_view name) {
    const auto found = std::find(entryPointNames.begin(), entryPointNames.end() - 1, name);
    return std::size_t(found - entryPointNames.begin());
}

struct ScriptedStatus {
    std::size_t entryPoint;
    int nth;
    int32 status;
};

struct AnalogPiece {
    std::vector<double> values;
    int32 reported;
};

struct Driver {
    bool recording = true;
    std::vector<std::string> calls;
    std::array<int, entryPointNames.size()> callCounts{};
    std::vector<ScriptedStatus> scripts;
    std::deque<uInt8> digitalReads;
    std::deque<AnalogPiece> analogReads;
    std::deque<int32> analogWritten;
    std::deque<std::string> descriptions;
    // Kept across resets: a library under test may still hold handles from before.
    std::unordered_map<TaskHandle, std::string> taskNames;
    std::unordered_map<TaskHandle, uInt8> lastDigitalWritten;
    std::unordered_map<TaskHandle, float64> clockRates;
    std::unordered_map<TaskHandle, uInt64> samplesAcquired;
    std::unordered_set<TaskHandle> liveTasks;
    std::uintptr_t tasksCreated = 0;
};

Driver driver;

// Counts the call and returns its scripted status, 0 when none.
int32 answer(std::string_view entryPoint) {
    const std::size_t index = entryPointIndex(entryPoint);
    const int nth = ++driver.callCounts[index];
    for (const ScriptedStatus &script : driver.scripts) {
        if (script.entryPoint == index && script.nth == nth) {
            return script.status;
        }
    }
    return 0;
}

// Data a call writes, shown in brackets.
template <typename Sample> struct Samples {
    const Sample *values;
    int count;
};

// Builds one recorded line, each argument shown by its type: a task by its name, a text in
// quotes, a number in decimal (%g when floating-point), data in brackets, and any other
// pointer, an out parameter, as "&" or "null".
class CallLine {
  public:
    explicit CallLine(std::string_view name) : text(name) { text += '('; }

    CallLine &add(TaskHandle handle) {
        if (handle == nullptr) {
            return raw("null");
        }
        const auto found = driver.taskNames.find(handle);
        return raw(found != driver.taskNames.end() ? found->second : std::string("?"));
    }
    CallLine &add(const char *value) {
        return value == nullptr ? raw("null") : raw('"' + std::string(value) + '"');
    }
    template <typename Number>
    requires std::is_arithmetic_v<Number> CallLine &add(Number value) {
        if constexpr (std::is_floating_point_v<Number>) {
            char buffer[64];
            std::snprintf(buffer, sizeof buffer, "%g", double(value));
            return raw(buffer);
        } else {
            return raw(std::to_string(value));
        }
    }
    template <typename Place> CallLine &add(Place *place) {
        return raw(place != nullptr ? "&" : "null");
    }
    template <typename Sample> CallLine &add(Samples<Sample> data) {
        std::string list = "[";
        for (int i = 0; data.values != nullptr && i < data.count; ++i) {
            char buffer[64];
            std::snprintf(buffer, sizeof buffer, "%s%g", i == 0 ? "" : ",", double(data.values[i]));
            list += buffer;
        }
        return raw(list + "]");
    }

    void record() {
        text += ')';
        driver.calls.push_back(std::move(text));
    }

  private:
    CallLine &raw(const std::string &argument) {
        text += separator;
        text += argument;
        separator = ", ";
        return *this;
    }

    std::string text;
    const char *separator = "";
};

template <typename... Arguments> void record(const char *name, const Arguments &...arguments) {
    if (driver.recording) {
        CallLine line(name);
        (line.add(arguments), ...);
        line.record();
    }
}

bool nameInUse(std::string_view name) {
    return std::any_of(driver.liveTasks.begin(), driver.liveTasks.end(),
                       [name](TaskHandle task) { return driver.taskNames[task] == name; });
}

// A scripted status first (it counts the call), then whether the task exists.
int32 answerFor(std::string_view entryPoint, TaskHandle handle) {
    const int32 status = answer(entryPoint);
    if (status < 0) {
        return status;
    }
    return driver.liveTasks.count(handle) != 0 ? status : RD_STATUS_INVALID_TASK;
}

// Records a call on a task and answers it: a scripted status, or whether the task exists.
template <typename... Arguments>
int32 taskCall(const char *name, TaskHandle handle, const Arguments &...arguments) {
    record(name, handle, arguments...);
    return answerFor(name, handle);
}

} // namespace

extern "C" {

void rd_reset(void) {
    driver.recording = true;
    driver.calls.clear();
    driver.callCounts.fill(0);
    driver.scripts.clear();
    driver.digitalReads.clear();
    driver.analogReads.clear();
    driver.analogWritten.clear();
    driver.descriptions.clear();
}

void rd_forgetTasks(void) {
    driver.liveTasks.clear();
}

int rd_liveTaskCount(void) {
    return int(driver.liveTasks.size());
}

int rd_entryPointCalls(const char *entryPoint) {
    return driver.callCounts[entryPointIndex(entryPoint)];
}

const char *rd_entryPointName(int index) {
    if (index < 0 || std::size_t(index) >= entryPointNames.size() ||
        entryPointNames[std::size_t(index)] == "DAQmxGetErrorString") {
        return nullptr;
    }
    return entryPointNames[std::size_t(index)].data();
}

void rd_setRecording(int on) {
    driver.recording = on != 0;
}

int rd_callCount(void) {
    return int(driver.calls.size());
}

const char *rd_call(int index) {
    if (index < 0 || index >= rd_callCount()) {
        return nullptr;
    }
    return driver.calls[std::size_t(index)].c_str();
}

void rd_scriptStatus(const char *entryPoint, int nth, int32_t status) {
    driver.scripts.push_back({entryPointIndex(entryPoint), nth, status});
}

void rd_queueDescription(const char *text) {
    driver.descriptions.emplace_back(text);
}

void rd_queueDigitalRead(uint8_t value) {
    driver.digitalReads.push_back(value);
}

void rd_queueAnalogRead(const double *values, int count, int32_t reported) {
    driver.analogReads.push_back({std::vector<double>(values, values + count), reported});
}

void rd_queueAnalogWritten(int32_t reported) {
    driver.analogWritten.push_back(reported);
}

DRIVER_ENTRY_POINT int32 DAQmxCreateTask(const char taskName[], TaskHandle *taskHandle) {
    record(__func__, taskName, taskHandle);
    int32 status = answer(__func__);
    if (status >= 0 && taskName != nullptr && *taskName != '\0' && nameInUse(taskName)) {
        status = RD_STATUS_DUPLICATE_NAME;
    }
    if (status >= 0 && taskHandle != nullptr) {
        // Distinct, non-null and never dereferenced.
        *taskHandle = reinterpret_cast<TaskHandle>(0x10000 + 0x10 * ++driver.tasksCreated);
        driver.taskNames[*taskHandle] = taskName != nullptr ? taskName : "";
        driver.liveTasks.insert(*taskHandle);
    }
    return status;
}

DRIVER_ENTRY_POINT int32 DAQmxStartTask(TaskHandle taskHandle) {
    return taskCall(__func__, taskHandle);
}

DRIVER_ENTRY_POINT int32 DAQmxStopTask(TaskHandle taskHandle) {
    return taskCall(__func__, taskHandle);
}

DRIVER_ENTRY_POINT int32 DAQmxClearTask(TaskHandle taskHandle) {
    const int32 status = taskCall(__func__, taskHandle);
    if (status >= 0) {
        driver.liveTasks.erase(taskHandle);
    }
    return status;
}

#ifndef RECORDING_DRIVER_WITHOUT_DISABLE_START_TRIG
DRIVER_ENTRY_POINT int32 DAQmxDisableStartTrig(TaskHandle taskHandle) {
    return taskCall(__func__, taskHandle);
}
#endif

DRIVER_ENTRY_POINT int32 DAQmxCreateDIChan(TaskHandle taskHandle, const char lines[],
                                           const char nameToAssignToLines[], int32 lineGrouping) {
    return taskCall(__func__, taskHandle, lines, nameToAssignToLines, lineGrouping);
}

DRIVER_ENTRY_POINT int32 DAQmxCreateDOChan(TaskHandle taskHandle, const char lines[],
                                           const char nameToAssignToLines[], int32 lineGrouping) {
    return taskCall(__func__, taskHandle, lines, nameToAssignToLines, lineGrouping);
}

DRIVER_ENTRY_POINT int32 DAQmxCreateAIVoltageChan(TaskHandle taskHandle,
                                                  const char physicalChannel[],
                                                  const char nameToAssignToChannel[],
                                                  int32 terminalConfig, float64 minVal,
                                                  float64 maxVal, int32 units,
                                                  const char customScaleName[]) {
    return taskCall(__func__, taskHandle, physicalChannel, nameToAssignToChannel, terminalConfig,
                    minVal, maxVal, units, customScaleName);
}

DRIVER_ENTRY_POINT int32 DAQmxCreateAOVoltageChan(TaskHandle taskHandle,
                                                  const char physicalChannel[],
                                                  const char nameToAssignToChannel[],
                                                  float64 minVal, float64 maxVal, int32 units,
                                                  const char customScaleName[]) {
    return taskCall(__func__, taskHandle, physicalChannel, nameToAssignToChannel, minVal, maxVal,
                    units, customScaleName);
}

DRIVER_ENTRY_POINT int32 DAQmxCfgSampClkTiming(TaskHandle taskHandle, const char source[],
                                               float64 rate, int32 activeEdge, int32 sampleMode,
                                               uInt64 sampsPerChan) {
    const int32 status =
        taskCall(__func__, taskHandle, source, rate, activeEdge, sampleMode, sampsPerChan);
    if (status >= 0) {
        driver.clockRates[taskHandle] = rate;
    }
    return status;
}

DRIVER_ENTRY_POINT int32 DAQmxCfgDigEdgeStartTrig(TaskHandle taskHandle, const char triggerSource[],
                                                  int32 triggerEdge) {
    return taskCall(__func__, taskHandle, triggerSource, triggerEdge);
}

// The properties answer what the task was configured with, as a driver that runs every
// rate exactly would; the conversions of a scan are 1 us apart.
DRIVER_ENTRY_POINT int32 DAQmxGetSampClkRate(TaskHandle taskHandle, float64 *data) {
    const int32 status = taskCall(__func__, taskHandle, data);
    if (status >= 0 && data != nullptr) {
        const auto rate = driver.clockRates.find(taskHandle);
        *data = rate != driver.clockRates.end() ? rate->second : 1000.0;
    }
    return status;
}

DRIVER_ENTRY_POINT int32 DAQmxGetAIConvRate(TaskHandle taskHandle, float64 *data) {
    const int32 status = taskCall(__func__, taskHandle, data);
    if (status >= 0 && data != nullptr) {
        *data = 1.0e6;
    }
    return status;
}

DRIVER_ENTRY_POINT int32 DAQmxGetReadTotalSampPerChanAcquired(TaskHandle taskHandle, uInt64 *data) {
    const int32 status = taskCall(__func__, taskHandle, data);
    if (status >= 0 && data != nullptr) {
        *data = driver.samplesAcquired[taskHandle];
    }
    return status;
}

DRIVER_ENTRY_POINT int32 DAQmxCfgAnlgEdgeStartTrig(TaskHandle taskHandle,
                                                   const char triggerSource[], int32 triggerSlope,
                                                   float64 triggerLevel) {
    return taskCall(__func__, taskHandle, triggerSource, triggerSlope, triggerLevel);
}

DRIVER_ENTRY_POINT int32 DAQmxWriteDigitalU8(TaskHandle taskHandle, int32 numSampsPerChan,
                                             bool32 autoStart, float64 timeout, bool32 dataLayout,
                                             const uInt8 writeArray[], int32 *sampsPerChanWritten,
                                             bool32 *reserved) {
    const int32 status =
        taskCall(__func__, taskHandle, numSampsPerChan, autoStart, timeout, dataLayout,
                 Samples<uInt8>{writeArray, numSampsPerChan}, sampsPerChanWritten, reserved);
    if (status >= 0 && writeArray != nullptr && numSampsPerChan > 0) {
        driver.lastDigitalWritten[taskHandle] = writeArray[numSampsPerChan - 1];
        if (sampsPerChanWritten != nullptr) {
            *sampsPerChanWritten = numSampsPerChan;
        }
    }
    return status;
}

DRIVER_ENTRY_POINT int32 DAQmxReadDigitalU8(TaskHandle taskHandle, int32 numSampsPerChan,
                                            float64 timeout, bool32 fillMode, uInt8 readArray[],
                                            uInt32 arraySizeInSamps, int32 *sampsPerChanRead,
                                            bool32 *reserved) {
    const int32 status = taskCall(__func__, taskHandle, numSampsPerChan, timeout, fillMode,
                                  arraySizeInSamps, sampsPerChanRead, reserved);
    if (status < 0 || readArray == nullptr || arraySizeInSamps == 0) {
        return status;
    }
    if (!driver.digitalReads.empty()) {
        readArray[0] = driver.digitalReads.front();
        driver.digitalReads.pop_front();
    } else {
        const auto written = driver.lastDigitalWritten.find(taskHandle);
        readArray[0] = written != driver.lastDigitalWritten.end() ? written->second : 0;
    }
    if (sampsPerChanRead != nullptr) {
        *sampsPerChanRead = 1;
    }
    return status;
}

DRIVER_ENTRY_POINT int32 DAQmxWriteAnalogF64(TaskHandle taskHandle, int32 numSampsPerChan,
                                             bool32 autoStart, float64 timeout, bool32 dataLayout,
                                             const float64 writeArray[], int32 *sampsPerChanWritten,
                                             bool32 *reserved) {
    const int32 status =
        taskCall(__func__, taskHandle, numSampsPerChan, autoStart, timeout, dataLayout,
                 Samples<float64>{writeArray, numSampsPerChan}, sampsPerChanWritten, reserved);
    int32 reported = numSampsPerChan;
    if (!driver.analogWritten.empty()) {
        reported = driver.analogWritten.front();
        driver.analogWritten.pop_front();
    }
    if (status >= 0 && sampsPerChanWritten != nullptr) {
        *sampsPerChanWritten = reported;
    }
    return status;
}

DRIVER_ENTRY_POINT int32 DAQmxReadAnalogF64(TaskHandle taskHandle, int32 numSampsPerChan,
                                            float64 timeout, bool32 fillMode, float64 readArray[],
                                            uInt32 arraySizeInSamps, int32 *sampsPerChanRead,
                                            bool32 *reserved) {
    const int32 status = taskCall(__func__, taskHandle, numSampsPerChan, timeout, fillMode,
                                  arraySizeInSamps, sampsPerChanRead, reserved);
    if (status < 0 || readArray == nullptr) {
        return status;
    }
    int32 reported = numSampsPerChan;
    if (!driver.analogReads.empty()) {
        const AnalogPiece &piece = driver.analogReads.front();
        std::copy_n(piece.values.begin(),
                    std::min<std::size_t>(piece.values.size(), arraySizeInSamps), readArray);
        reported = piece.reported;
        driver.analogReads.pop_front();
    } else {
        std::fill_n(readArray,
                    std::min<std::uint64_t>(std::max(numSampsPerChan, 0), arraySizeInSamps), 0.0);
    }
    driver.samplesAcquired[taskHandle] += uInt64(std::max(reported, 0));
    if (sampsPerChanRead != nullptr) {
        *sampsPerChanRead = reported;
    }
    return status;
}

DRIVER_ENTRY_POINT int32 DAQmxGetErrorString(int32 errorCode, char errorString[],
                                             uInt32 bufferSize) {
    record(__func__, errorCode, bufferSize);
    const int32 status = answer(__func__);
    if (errorString == nullptr || bufferSize == 0) {
        return status;
    }
    if (!driver.descriptions.empty()) {
        std::snprintf(errorString, bufferSize, "%s", driver.descriptions.front().c_str());
        driver.descriptions.pop_front();
    } else if (status >= 0) {
        std::snprintf(errorString, bufferSize, "recording driver: status %d", errorCode);
    }
    return status;
}

} // extern "C"
