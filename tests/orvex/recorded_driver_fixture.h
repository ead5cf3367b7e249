// Tests of the library against the recording test driver, which the library loads
// through ORVEX_DRIVER.  Each test starts from the library's start-up state, a driver
// without tasks and an empty call record.
#ifndef TESTS_ORVEX_RECORDED_DRIVER_FIXTURE_H
#define TESTS_ORVEX_RECORDED_DRIVER_FIXTURE_H

#include "analog/clock_settings.h"
#include "core/error_state.h"
#include "core/task_cache.h"
#include "recording_driver/recording_driver.h"
#include "scan/scan_setup.h"
#include <orvex.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

class RecordedDriverTest : public ::testing::Test {
  protected:
    void SetUp() override {
        orvex::cache = orvex::TaskCache{};
        orvex::anlgClock = orvex::ClockOpt{};
        orvex::dacOpt = orvex::ClockOpt{};
        orvex::scanSetup = orvex::ScanSetup{};
        orvex::scanRun = orvex::ScanRun{};
        orvex::lastError = 0;
        orvex::lastErrorBuffer.fill('\0');
        rd_reset();
        rd_forgetTasks();
    }

    // The driver calls recorded since the last rd_reset().
    static std::vector<std::string> calls() {
        std::vector<std::string> recorded;
        for (int i = 0; i < rd_callCount(); ++i) {
            recorded.emplace_back(rd_call(i));
        }
        return recorded;
    }

    static std::string errorText() { return orvex_GetLastErrorBuffer(); }

    static std::vector<int> masksOf(int port) {
        std::vector<int> masks;
        for (const orvex::PortConfig &config : orvex::cache.ports[port]) {
            masks.push_back(config.mask);
        }
        return masks;
    }
};

#endif
