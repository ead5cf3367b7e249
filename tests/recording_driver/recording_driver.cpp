// A board driver for tests: records each call, answers from scripts.  See
// recording_driver.h for what it answers when nothing is scripted.
#define DAQMX_EXPORT_ENTRY_POINTS
#include "recording_driver.h"
#include "daqmx.h"

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

// Entry points counted for scripting, in the order of this table: those on tasks, then
// the error text.
constexpr std::array<std::string_view, 17> entryPointNames{"DAQmxCreateTask",
                                                           "DAQmxStartTask",
                                                           "DAQmxStopTask",
                                                           "DAQmxClearTask",
                                                           "DAQmxCreateDIChan",
                                                           "DAQmxCreateDOChan",
                                                           "DAQmxCreateAIVoltageChan",
                                                           "DAQmxCreateAOVoltageChan",
                                                           "DAQmxCfgSampClkTiming",
                                                           "DAQmxCfgAnlgEdgeStartTrig",
                                                           "DAQmxDisableStartTrig",
                                                           "DAQmxWriteDigitalU8",
                                                           "DAQmxReadDigitalU8",
                                                           "DAQmxWriteAnalogF64",
                                                           "DAQmxReadAnalogF64",
                                                           "DAQmxGetErrorString",
                                                           "unknown"};

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
    // Kept across resets: a library under test may still hold handles from before.
    std::unordered_map<TaskHandle, std::string> taskNames;
    std::unordered_map<TaskHandle, uInt8> lastDigitalWritten;
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

// Builds one recorded line, argument by argument.
class CallLine {
  public:
    explicit CallLine(std::string_view name) : text(name) { text += '('; }

    CallLine &task(TaskHandle handle) {
        if (handle == nullptr) {
            return raw("null");
        }
        const auto found = driver.taskNames.find(handle);
        return raw(found != driver.taskNames.end() ? found->second : std::string("?"));
    }
    CallLine &str(const char *value) {
        return value == nullptr ? raw("null") : raw('"' + std::string(value) + '"');
    }
    // Integers in decimal, floating-point numbers as %g.
    template <typename Number> CallLine &num(Number value) {
        if constexpr (std::is_floating_point_v<Number>) {
            char buffer[64];
            std::snprintf(buffer, sizeof buffer, "%g", double(value));
            return raw(buffer);
        } else {
            return raw(std::to_string(value));
        }
    }
    CallLine &out(const void *place) { return raw(place != nullptr ? "&" : "null"); }
    template <typename T> CallLine &data(const T *values, int count) {
        std::string list = "[";
        for (int i = 0; values != nullptr && i < count; ++i) {
            char buffer[64];
            std::snprintf(buffer, sizeof buffer, "%s%g", i == 0 ? "" : ",", double(values[i]));
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

template <typename Fill> void recordIf(Fill &&fill) {
    if (driver.recording) {
        fill();
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

int32 taskCall(const char *name, TaskHandle handle) {
    recordIf([&] { CallLine(name).task(handle).record(); });
    return answerFor(name, handle);
}

int32 digitalChannel(const char *name, TaskHandle handle, const char lines[], const char lineName[],
                     int32 grouping) {
    recordIf([&] { CallLine(name).task(handle).str(lines).str(lineName).num(grouping).record(); });
    return answerFor(name, handle);
}

// Reads and writes record the same arguments whatever the sample type.
template <typename Sample>
void recordWrite(const char *name, TaskHandle handle, int32 samples, bool32 autoStart,
                 float64 timeout, bool32 layout, const Sample *data, int32 *written,
                 bool32 *reserved) {
    recordIf([&] {
        CallLine(name)
            .task(handle)
            .num(samples)
            .num(autoStart)
            .num(timeout)
            .num(layout)
            .data(data, samples)
            .out(written)
            .out(reserved)
            .record();
    });
}

void recordRead(const char *name, TaskHandle handle, int32 samples, float64 timeout,
                bool32 fillMode, uInt32 arraySize, int32 *read, bool32 *reserved) {
    recordIf([&] {
        CallLine(name)
            .task(handle)
            .num(samples)
            .num(timeout)
            .num(fillMode)
            .num(arraySize)
            .out(read)
            .out(reserved)
            .record();
    });
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

void rd_queueDigitalRead(uint8_t value) {
    driver.digitalReads.push_back(value);
}

void rd_queueAnalogRead(const double *values, int count, int32_t reported) {
    driver.analogReads.push_back({std::vector<double>(values, values + count), reported});
}

void rd_queueAnalogWritten(int32_t reported) {
    driver.analogWritten.push_back(reported);
}

int32 DAQmxCreateTask(const char taskName[], TaskHandle *taskHandle) {
    recordIf([&] { CallLine("DAQmxCreateTask").str(taskName).out(taskHandle).record(); });
    int32 status = answer("DAQmxCreateTask");
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

int32 DAQmxStartTask(TaskHandle taskHandle) {
    return taskCall("DAQmxStartTask", taskHandle);
}

int32 DAQmxStopTask(TaskHandle taskHandle) {
    return taskCall("DAQmxStopTask", taskHandle);
}

int32 DAQmxClearTask(TaskHandle taskHandle) {
    const int32 status = taskCall("DAQmxClearTask", taskHandle);
    if (status >= 0) {
        driver.liveTasks.erase(taskHandle);
    }
    return status;
}

#ifndef RECORDING_DRIVER_WITHOUT_DISABLE_START_TRIG
int32 DAQmxDisableStartTrig(TaskHandle taskHandle) {
    return taskCall("DAQmxDisableStartTrig", taskHandle);
}
#endif

int32 DAQmxCreateDIChan(TaskHandle taskHandle, const char lines[], const char nameToAssignToLines[],
                        int32 lineGrouping) {
    return digitalChannel("DAQmxCreateDIChan", taskHandle, lines, nameToAssignToLines,
                          lineGrouping);
}

int32 DAQmxCreateDOChan(TaskHandle taskHandle, const char lines[], const char nameToAssignToLines[],
                        int32 lineGrouping) {
    return digitalChannel("DAQmxCreateDOChan", taskHandle, lines, nameToAssignToLines,
                          lineGrouping);
}

int32 DAQmxCreateAIVoltageChan(TaskHandle taskHandle, const char physicalChannel[],
                               const char nameToAssignToChannel[], int32 terminalConfig,
                               float64 minVal, float64 maxVal, int32 units,
                               const char customScaleName[]) {
    recordIf([&] {
        CallLine("DAQmxCreateAIVoltageChan")
            .task(taskHandle)
            .str(physicalChannel)
            .str(nameToAssignToChannel)
            .num(terminalConfig)
            .num(minVal)
            .num(maxVal)
            .num(units)
            .str(customScaleName)
            .record();
    });
    return answerFor("DAQmxCreateAIVoltageChan", taskHandle);
}

int32 DAQmxCreateAOVoltageChan(TaskHandle taskHandle, const char physicalChannel[],
                               const char nameToAssignToChannel[], float64 minVal, float64 maxVal,
                               int32 units, const char customScaleName[]) {
    recordIf([&] {
        CallLine("DAQmxCreateAOVoltageChan")
            .task(taskHandle)
            .str(physicalChannel)
            .str(nameToAssignToChannel)
            .num(minVal)
            .num(maxVal)
            .num(units)
            .str(customScaleName)
            .record();
    });
    return answerFor("DAQmxCreateAOVoltageChan", taskHandle);
}

int32 DAQmxCfgSampClkTiming(TaskHandle taskHandle, const char source[], float64 rate,
                            int32 activeEdge, int32 sampleMode, uInt64 sampsPerChan) {
    recordIf([&] {
        CallLine("DAQmxCfgSampClkTiming")
            .task(taskHandle)
            .str(source)
            .num(rate)
            .num(activeEdge)
            .num(sampleMode)
            .num(sampsPerChan)
            .record();
    });
    return answerFor("DAQmxCfgSampClkTiming", taskHandle);
}

int32 DAQmxCfgAnlgEdgeStartTrig(TaskHandle taskHandle, const char triggerSource[],
                                int32 triggerSlope, float64 triggerLevel) {
    recordIf([&] {
        CallLine("DAQmxCfgAnlgEdgeStartTrig")
            .task(taskHandle)
            .str(triggerSource)
            .num(triggerSlope)
            .num(triggerLevel)
            .record();
    });
    return answerFor("DAQmxCfgAnlgEdgeStartTrig", taskHandle);
}

int32 DAQmxWriteDigitalU8(TaskHandle taskHandle, int32 numSampsPerChan, bool32 autoStart,
                          float64 timeout, bool32 dataLayout, const uInt8 writeArray[],
                          int32 *sampsPerChanWritten, bool32 *reserved) {
    recordWrite("DAQmxWriteDigitalU8", taskHandle, numSampsPerChan, autoStart, timeout, dataLayout,
                writeArray, sampsPerChanWritten, reserved);
    const int32 status = answerFor("DAQmxWriteDigitalU8", taskHandle);
    if (status >= 0 && writeArray != nullptr && numSampsPerChan > 0) {
        driver.lastDigitalWritten[taskHandle] = writeArray[numSampsPerChan - 1];
        if (sampsPerChanWritten != nullptr) {
            *sampsPerChanWritten = numSampsPerChan;
        }
    }
    return status;
}

int32 DAQmxReadDigitalU8(TaskHandle taskHandle, int32 numSampsPerChan, float64 timeout,
                         bool32 fillMode, uInt8 readArray[], uInt32 arraySizeInSamps,
                         int32 *sampsPerChanRead, bool32 *reserved) {
    recordRead("DAQmxReadDigitalU8", taskHandle, numSampsPerChan, timeout, fillMode,
               arraySizeInSamps, sampsPerChanRead, reserved);
    const int32 status = answerFor("DAQmxReadDigitalU8", taskHandle);
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

int32 DAQmxWriteAnalogF64(TaskHandle taskHandle, int32 numSampsPerChan, bool32 autoStart,
                          float64 timeout, bool32 dataLayout, const float64 writeArray[],
                          int32 *sampsPerChanWritten, bool32 *reserved) {
    recordWrite("DAQmxWriteAnalogF64", taskHandle, numSampsPerChan, autoStart, timeout, dataLayout,
                writeArray, sampsPerChanWritten, reserved);
    const int32 status = answerFor("DAQmxWriteAnalogF64", taskHandle);
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

int32 DAQmxReadAnalogF64(TaskHandle taskHandle, int32 numSampsPerChan, float64 timeout,
                         bool32 fillMode, float64 readArray[], uInt32 arraySizeInSamps,
                         int32 *sampsPerChanRead, bool32 *reserved) {
    recordRead("DAQmxReadAnalogF64", taskHandle, numSampsPerChan, timeout, fillMode,
               arraySizeInSamps, sampsPerChanRead, reserved);
    const int32 status = answerFor("DAQmxReadAnalogF64", taskHandle);
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
    if (sampsPerChanRead != nullptr) {
        *sampsPerChanRead = reported;
    }
    return status;
}

int32 DAQmxGetErrorString(int32 errorCode, char errorString[], uInt32 bufferSize) {
    recordIf([&] { CallLine("DAQmxGetErrorString").num(errorCode).num(bufferSize).record(); });
    if (errorString != nullptr && bufferSize > 0) {
        std::snprintf(errorString, bufferSize, "recording driver: status %d", errorCode);
    }
    return answer("DAQmxGetErrorString");
}

} // extern "C"
