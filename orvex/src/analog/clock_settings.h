// Sample-clock and start-trigger settings of one side (input or output), stored once
// and applied to each channel's task at that channel's next clocked operation.
#ifndef ORVEX_SRC_ANALOG_CLOCK_SETTINGS_H
#define ORVEX_SRC_ANALOG_CLOCK_SETTINGS_H

#include "core/operation_ending.h"
#include "daqmx/daqmx.h"

#include <cstddef>
#include <cstdint>

namespace orvex {

inline constexpr std::size_t sourceSize = 256; // a source text of up to 255 characters

struct ClockOpt {
    std::int32_t maskClk = -1; // bit idx set: channel idx still needs the clock
    char clkSource[sourceSize] = "OnboardClock";
    double clkRate = 1000.0;
    std::int32_t maskTrig = -1; // bit idx set: channel idx still needs its trigger set or removed
    char trigSource[sourceSize] = ""; // empty: no start trigger
    double trigLevel = 0.0;
    std::int32_t maskFetch = 0; // 1 << idx of the channel being fetched or generating, else 0
};

extern ClockOpt anlgClock; // input side
extern ClockOpt dacOpt;    // output side

// The bodies of orvex_analog{In,Out}{Clk,Trigger}: store the setting, mark every
// channel due, finish with 0; a source too long for the record is refused at tooLong.
int storeClock(ClockOpt &settings, const char *source, double rate, const CheckSite &tooLong);
int storeTrigger(ClockOpt &settings, const char *source, double level, const CheckSite &tooLong);

// Configures what is due for channel idx on its task; a bit is cleared only once its
// driver call succeeded.  0 or the first negative driver status.
int32 applyDueSettings(ClockOpt &settings, int idx, TaskHandle task, uInt64 samplesPerChannel);

// Stops the task of the channel marked in maskFetch and clears the mark; a failed stop
// keeps it.  The stop's status.
int32 stopMarkedChannel(ClockOpt &settings, TaskHandle task);

// One second of samples at the rate, truncated toward zero; 0 for a rate below one
// sample per second or not a number, the largest count for one beyond 64 bits.
uInt64 oneSecondOfSamples(double rate);

} // namespace orvex

#endif
