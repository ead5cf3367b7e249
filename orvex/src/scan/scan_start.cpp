// The start of a scan: its input task, made from the stored set-up, and its in-step output
// task, armed on the input's start trigger before the input starts.
#include "analog/block_transfer.h"
#include "analog/clock_settings.h"
#include "core/task_cache.h"
#include "scan_clock.h"
#include "scan_setup.h"
#include "uiruntime/runtime_text.h"

#include <algorithm>
#include <array>

using namespace orvex;

namespace {

using DriverName = std::array<char, 64>;

constexpr double boardVolts = 10.0;
// The in-step block goes to the driver's buffer before anything runs, so taking it waits
// for nothing; the bound is only there for a driver that stalls.
constexpr double outputWriteTimeout = 10.0;
// A continuous scan's buffer holds at least this many samples per channel, whatever the
// rate; the driver may make it larger.
constexpr uInt64 smallestBuffer = 1000;

int32 driverTerminal(int terminal) {
    switch (terminal) {
    case ORVEX_NRSE:
        return DAQmx_Val_NRSE;
    case ORVEX_DIFF:
        return DAQmx_Val_Diff;
    default:
        return DAQmx_Val_RSE;
    }
}

int32 addInputs(TaskHandle task, const void *context) {
    const ChannelList &list = *static_cast<const ChannelList *>(context);
    for (int k = 0; k < list.count; ++k) {
        const ScanChannel &channel = list.entries[std::size_t(k)];
        DriverName physical{};
        Fmt(physical.data(), physical.size(), "PXI1Slot%i/ai%i", cache.slot, channel.input);
        const int32 status =
            DAQmxCreateAIVoltageChan(task, physical.data(), "", driverTerminal(channel.terminal),
                                     -channel.range, channel.range, DAQmx_Val_Volts, "");
        if (status < 0) {
            return status;
        }
    }
    return 0;
}

int32 addOutputs(TaskHandle task, const void *context) {
    const InStepOutput &output = *static_cast<const InStepOutput *>(context);
    DriverName physical{};
    if (output.channelCount == 2) {
        Fmt(physical.data(), physical.size(), "PXI1Slot%i/ao0:1", cache.slot);
    } else {
        Fmt(physical.data(), physical.size(), "PXI1Slot%i/ao%i", cache.slot, output.firstChannel);
    }
    return DAQmxCreateAOVoltageChan(task, physical.data(), "", -boardVolts, boardVolts,
                                    DAQmx_Val_Volts, "");
}

int32 driverSlope(int slope) {
    return slope == ORVEX_FALLING ? DAQmx_Val_FallingSlope : DAQmx_Val_RisingSlope;
}

int32 configureInput(TaskHandle task, long long samplesPerChannel) {
    const bool finite = samplesPerChannel > 0;
    const uInt64 buffer = finite ? uInt64(samplesPerChannel)
                                 : std::max(smallestBuffer, oneSecondOfSamples(scanSetup.rate));
    int32 status =
        DAQmxCfgSampClkTiming(task, "OnboardClock", scanSetup.rate, DAQmx_Val_Rising,
                              finite ? DAQmx_Val_FiniteSamps : DAQmx_Val_ContSamps, buffer);
    if (status < 0) {
        return status;
    }
    const ScanTrigger &trigger = scanSetup.trigger;
    DriverName source{};
    if (trigger.kind == TriggerKind::AnalogEdge) {
        Fmt(source.data(), source.size(), "PXI1Slot%i/ai%i", cache.slot, trigger.source);
        status = DAQmxCfgAnlgEdgeStartTrig(task, source.data(), driverSlope(trigger.slope),
                                           trigger.level);
    } else if (trigger.kind == TriggerKind::DigitalEdge) {
        Fmt(source.data(), source.size(), "/PXI1Slot%i/PFI%i", cache.slot, trigger.source);
        status = DAQmxCfgDigEdgeStartTrig(task, source.data(),
                                          trigger.slope == ORVEX_FALLING ? DAQmx_Val_Falling
                                                                         : DAQmx_Val_Rising);
    }
    if (status < 0) {
        return status;
    }
    status = DAQmxGetSampClkRate(task, &scanRun.rate);
    if (status < 0) {
        return status;
    }
    double convertRate = 0.0;
    status = DAQmxGetAIConvRate(task, &convertRate);
    scanRun.channelStep = convertRate > 0.0 ? 1.0 / convertRate : 0.0;
    return status;
}

// The output waits for the input's start trigger, and with a shared clock ticks on the
// input's sample clock, so that output sample n goes out with scan n.
int32 armOutput(TaskHandle task) {
    const InStepOutput &output = scanSetup.output;
    DriverName clock{};
    DriverName start{};
    Fmt(clock.data(), clock.size(), "/PXI1Slot%i/ai/SampleClock", cache.slot);
    Fmt(start.data(), start.size(), "/PXI1Slot%i/ai/StartTrigger", cache.slot);
    int32 status =
        DAQmxCfgSampClkTiming(task, output.shareClock ? clock.data() : "OnboardClock",
                              output.shareClock ? scanSetup.rate : output.rate, DAQmx_Val_Rising,
                              DAQmx_Val_ContSamps, uInt64(output.samplesPerChannel));
    if (status < 0) {
        return status;
    }
    if ((status = DAQmxCfgDigEdgeStartTrig(task, start.data(), DAQmx_Val_Rising)) < 0) {
        return status;
    }
    const int channels = output.channelCount;
    status = transferBlock(output.samplesPerChannel, [&](int done, int remaining, int32 *moved) {
        return DAQmxWriteAnalogF64(
            task, remaining, 0, outputWriteTimeout, DAQmx_Val_GroupByScanNumber,
            output.samples.data() + std::size_t(done) * std::size_t(channels), moved, nullptr);
    });
    if (status < 0) {
        return status;
    }
    return DAQmxStartTask(task);
}

int32 startInput(TaskHandle task) {
    Bracket start{utcNow(), 0.0};
    const int32 status = DAQmxStartTask(task);
    start.after = utcNow();
    if (status >= 0 && !scanRun.triggered) {
        scanRun.startTime = start.middle();
        scanRun.startTimeUncertainty = start.halfWidth();
        scanRun.startTimeSource = ORVEX_TIME_AT_START;
    }
    return status;
}

int32 startScan(long long samplesPerChannel) {
    int32 status = createTaskWith("scan", cache.scan, true, addInputs, &scanSetup.channels);
    if (status < 0) {
        return status;
    }
    if ((status = configureInput(cache.scan, samplesPerChannel)) < 0) {
        return status;
    }
    if (scanSetup.output.channelCount > 0) {
        if ((status = createTaskWith("scanOutput", cache.scanOutput, true, addOutputs,
                                     &scanSetup.output)) < 0) {
            return status;
        }
        if ((status = armOutput(cache.scanOutput)) < 0) {
            return status;
        }
    }
    return startInput(cache.scan);
}

} // namespace

extern "C" int orvex_scanStart(long long samplesPerChannel) {
    ORVEX_SCAN_CHECK(!scanRunning(), "!scanRunning()", "a scan runs already");
    ORVEX_SCAN_CHECK(scanSetup.channels.count > 0, "channels", "no channel list was set");
    ORVEX_SCAN_CHECK(samplesPerChannel >= 0, "samplesPerChannel >= 0", nullptr);
    scanRun.channels = scanSetup.channels.count;
    scanRun.triggered = scanSetup.trigger.kind != TriggerKind::None;
    scanRun.rate = scanSetup.rate;
    scanRun.channelStep = 0.0;
    scanRun.samplesRead = 0;
    scanRun.startTime = 0.0;
    scanRun.startTimeUncertainty = 0.0;
    scanRun.startTimeSource = ORVEX_TIME_UNKNOWN;
    const int32 status = startScan(samplesPerChannel);
    if (status < 0) {
        // Nothing is left running: the failure's text is already in place.
        releaseTaskIn(cache.scanOutput, true);
        releaseTaskIn(cache.scan, true);
    }
    return finish(status);
}
