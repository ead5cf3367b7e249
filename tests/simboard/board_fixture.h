// Shared set-up of the simulated board's tests: a fresh board in virtual time with a fixed
// seed, and tasks that clear themselves.
#ifndef TESTS_SIMBOARD_BOARD_FIXTURE_H
#define TESTS_SIMBOARD_BOARD_FIXTURE_H

#include "board_under_test.h"

#include "daqmx/daqmx.h"
#include <orvex/simboard_control.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

class ScopedTask {
  public:
    explicit ScopedTask(const char *name = "") { EXPECT_EQ(DAQmxCreateTask(name, &handle_), 0); }
    ScopedTask(const ScopedTask &) = delete;
    ScopedTask &operator=(const ScopedTask &) = delete;
    ~ScopedTask() {
        if (handle_ != nullptr) {
            DAQmxClearTask(handle_);
        }
    }
    TaskHandle get() const { return handle_; }
    operator TaskHandle() const { return handle_; }

  private:
    TaskHandle handle_ = nullptr;
};

inline std::string errorText(int32 code) {
    char text[1024];
    DAQmxGetErrorString(code, text, sizeof text);
    return text;
}

inline int32 addInput(TaskHandle task, const char *channel, double minimum = -10.0,
                      double maximum = 10.0) {
    return DAQmxCreateAIVoltageChan(task, channel, "", DAQmx_Val_RSE, minimum, maximum,
                                    DAQmx_Val_Volts, "");
}

inline int32 addOutput(TaskHandle task, const char *channel) {
    return DAQmxCreateAOVoltageChan(task, channel, "", -10.0, 10.0, DAQmx_Val_Volts, "");
}

inline int32 clockAt(TaskHandle task, double rate, uInt64 bufferSize) {
    return DAQmxCfgSampClkTiming(task, "OnboardClock", rate, DAQmx_Val_Rising, DAQmx_Val_ContSamps,
                                 bufferSize);
}

// A channel on a continuous sample clock: the status of the first call that fails.
inline int32 addClockedInput(TaskHandle task, const char *channel, double rate, uInt64 bufferSize) {
    const int32 status = addInput(task, channel);
    return status < 0 ? status : clockAt(task, rate, bufferSize);
}

inline int32 addClockedOutput(TaskHandle task, const char *channel, double rate,
                              uInt64 bufferSize) {
    const int32 status = addOutput(task, channel);
    return status < 0 ? status : clockAt(task, rate, bufferSize);
}

// How far a voltage read at ±10 V may be from what the stand puts on the input: one step
// of 16 bits over the range.
constexpr double codeAt10V = 20.0 / 65536.0;

inline void expectNearEach(const std::vector<double> &values, const std::vector<double> &expected,
                           double tolerance = codeAt10V) {
    ASSERT_EQ(values.size(), expected.size());
    for (size_t i = 0; i < values.size(); ++i) {
        EXPECT_NEAR(values[i], expected[i], tolerance) << "at " << i;
    }
}

inline int32 readBlock(TaskHandle task, std::vector<double> &samples, double timeout = 10.0,
                       int32 *read = nullptr) {
    int32 count = 0;
    int32 status =
        DAQmxReadAnalogF64(task, static_cast<int32>(samples.size()), timeout, 0, samples.data(),
                           static_cast<uInt32>(samples.size()), &count, nullptr);
    if (read != nullptr) {
        *read = count;
    }
    return status;
}

// `perChannel` samples of each channel into `data`, which holds them all: 0 when all came.
inline int32 readScans(TaskHandle task, int32 perChannel, int32 layout, std::vector<double> &data) {
    int32 read = 0;
    int32 status = DAQmxReadAnalogF64(task, perChannel, 10.0, layout, data.data(),
                                      static_cast<uInt32>(data.size()), &read, nullptr);
    return status < 0 ? status : (read == perChannel ? 0 : -1);
}

inline int32 readOne(TaskHandle task, double &value) {
    return DAQmxReadAnalogF64(task, 1, 1.0, 0, &value, 1, nullptr, nullptr);
}

inline int32 writeOne(TaskHandle task, double value) {
    return DAQmxWriteAnalogF64(task, 1, 1, 1.0, 0, &value, nullptr, nullptr);
}

inline int32 writeBlock(TaskHandle task, const std::vector<double> &samples) {
    int32 written = 0;
    return DAQmxWriteAnalogF64(task, static_cast<int32>(samples.size()), 1, 10.0, 0, samples.data(),
                               &written, nullptr);
}

inline int32 writeByte(TaskHandle task, uInt8 value, bool32 autoStart = 1) {
    return DAQmxWriteDigitalU8(task, 1, autoStart, 10.0, 0, &value, nullptr, nullptr);
}

inline int32 readByte(TaskHandle task, uInt8 &value) {
    return DAQmxReadDigitalU8(task, 1, 10.0, 0, &value, 1, nullptr, nullptr);
}

inline simboard::BenchSettings seededStand() {
    simboard::BenchSettings settings;
    settings.seed = 7;
    return settings;
}

// The board comes first, so that tasks the tests keep as members are made on it.
class SimBoardTest : public ::testing::Test {
  private:
    BoardUnderTest board_{seededStand()};
};

#endif
