#include "clock_settings.h"

#include "uiruntime/runtime_text.h"

#include <cstring>
#include <limits>

namespace orvex {

ClockOpt anlgClock;
ClockOpt dacOpt;

namespace {

constexpr double twoToThe64 = 18446744073709551616.0;

constexpr std::int32_t channelBit(int idx) {
    return std::int32_t(1) << idx;
}

// Refuses a source the record cannot hold whole; otherwise stores source and number and
// makes every channel due.
int storeSetting(char (&text)[sourceSize], double &number, std::int32_t &dueMask,
                 const char *source, double value, const CheckSite &tooLong) {
    ORVEX_CHECK(source == nullptr || strnlen(source, sourceSize) < sourceSize, tooLong);
    Fmt(text, sourceSize, "%s", source != nullptr ? source : "");
    number = value;
    dueMask = -1;
    return finish(0);
}

} // namespace

int storeClock(ClockOpt &settings, const char *source, double rate, const CheckSite &tooLong) {
    return storeSetting(settings.clkSource, settings.clkRate, settings.maskClk, source, rate,
                        tooLong);
}

int storeTrigger(ClockOpt &settings, const char *source, double level, const CheckSite &tooLong) {
    return storeSetting(settings.trigSource, settings.trigLevel, settings.maskTrig, source, level,
                        tooLong);
}

int32 applyDueSettings(ClockOpt &settings, int idx, TaskHandle task, uInt64 samplesPerChannel) {
    const std::int32_t bit = channelBit(idx);
    if ((settings.maskClk & bit) != 0) {
        const int32 status =
            DAQmxCfgSampClkTiming(task, settings.clkSource, settings.clkRate, DAQmx_Val_Rising,
                                  DAQmx_Val_ContSamps, samplesPerChannel);
        if (status < 0) {
            return status;
        }
        settings.maskClk &= ~bit;
    }
    if ((settings.maskTrig & bit) != 0) {
        const bool noTrigger = CompareStrings(settings.trigSource, 0, "", 0, 0) == 0;
        const int32 status =
            noTrigger ? DAQmxDisableStartTrig(task)
                      : DAQmxCfgAnlgEdgeStartTrig(task, settings.trigSource, DAQmx_Val_RisingSlope,
                                                  settings.trigLevel);
        if (status < 0) {
            return status;
        }
        settings.maskTrig &= ~bit;
    }
    return 0;
}

int32 stopMarkedChannel(ClockOpt &settings, TaskHandle task) {
    const int32 status = DAQmxStopTask(task);
    if (status >= 0) {
        settings.maskFetch = 0;
    }
    return status;
}

uInt64 oneSecondOfSamples(double rate) {
    if (!(rate >= 0.0)) {
        return 0;
    }
    if (rate >= twoToThe64) {
        return std::numeric_limits<uInt64>::max();
    }
    return static_cast<uInt64>(rate);
}

} // namespace orvex
