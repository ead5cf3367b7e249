// The running scan: its reads, its stop, the one-call finite scan and the reports.
#include "analog/block_transfer.h"
#include "core/task_cache.h"
#include "scan_clock.h"
#include "scan_setup.h"
#include "uiruntime/runtime_text.h"

#include <climits>
#include <cstring>
#include <new>

using namespace orvex;

namespace {

// A triggered scan's first sample is dated from the count of samples acquired by a moment
// read around the count: sample A-1 had come by then and sample A had not.
void dateTriggeredStart() {
    Bracket asked{utcNow(), 0.0};
    uInt64 acquired = 0;
    const int32 status = DAQmxGetReadTotalSampPerChanAcquired(cache.scan, &acquired);
    asked.after = utcNow();
    if (status < 0 || acquired == 0 || !(scanRun.rate > 0.0)) {
        return;
    }
    const double interval = 1.0 / scanRun.rate;
    scanRun.startTime = asked.middle() - (double(acquired) - 0.5) * interval;
    scanRun.startTimeUncertainty = asked.halfWidth() + 0.5 * interval;
    scanRun.startTimeSource = ORVEX_TIME_FROM_COUNT;
}

void regroupByChannel(const double *byScan, double *data, int samples, int channels) {
    for (int n = 0; n < samples; ++n) {
        for (int k = 0; k < channels; ++k) {
            data[std::size_t(k) * std::size_t(samples) + std::size_t(n)] =
                byScan[std::size_t(n) * std::size_t(channels) + std::size_t(k)];
        }
    }
}

// Reads by scan into `into`, in as many pieces as the driver likes.
int32 readByScan(double *into, int samplesPerChannel, double timeout, int &done) {
    const int channels = scanRun.channels;
    return transferBlock(
        samplesPerChannel,
        [&](int doneSoFar, int remaining, int32 *moved) {
            return DAQmxReadAnalogF64(cache.scan, remaining, timeout, DAQmx_Val_GroupByScanNumber,
                                      into + std::size_t(doneSoFar) * std::size_t(channels),
                                      uInt32(remaining) * uInt32(channels), moved, nullptr);
        },
        done);
}

int32 readScans(double *data, int samplesPerChannel, int layout, int *readCount, double timeout) {
    const bool regroup = layout == ORVEX_BY_CHANNEL && scanRun.channels > 1;
    if (regroup) {
        try {
            scanRun.byScan.resize(std::size_t(samplesPerChannel) * std::size_t(scanRun.channels));
        } catch (const std::bad_alloc &) {
            return noMemory("to group the samples by channel; nothing was read");
        }
    }
    int done = 0;
    const int32 status =
        readByScan(regroup ? scanRun.byScan.data() : data, samplesPerChannel, timeout, done);
    if (regroup) {
        regroupByChannel(scanRun.byScan.data(), data, done, scanRun.channels);
    }
    if (done > 0 && scanRun.samplesRead == 0 && scanRun.triggered) {
        dateTriggeredStart();
    }
    scanRun.samplesRead += done;
    if (readCount != nullptr) {
        *readCount = done;
    }
    return status;
}

int32 stopScan() {
    int32 first = 0;
    noteFailure(first, releaseTaskIn(cache.scanOutput, true));
    noteFailure(first, releaseTaskIn(cache.scan, true));
    return first;
}

} // namespace

extern "C" int orvex_scanReadEx(double *data, int samplesPerChannel, int layout, int *readCount,
                                double timeout) {
    ORVEX_SCAN_CHECK(scanRunning(), "scanRunning()", "no scan runs: orvex_scanStart first");
    ORVEX_SCAN_CHECK(data != nullptr, "data != NULL", nullptr);
    ORVEX_SCAN_CHECK(samplesPerChannel > 0, "samplesPerChannel > 0", nullptr);
    ORVEX_SCAN_CHECK(samplesPerChannel <= INT_MAX / scanRun.channels,
                     "samplesPerChannel * channels <= INT_MAX", nullptr);
    ORVEX_SCAN_CHECK(layout == ORVEX_BY_CHANNEL || layout == ORVEX_BY_SCAN, "layout",
                     "ORVEX_BY_CHANNEL or ORVEX_BY_SCAN");
    return finish(readScans(data, samplesPerChannel, layout, readCount, timeout));
}

extern "C" int orvex_scanAcquire(double *data, int samplesPerChannel, int layout, int *readCount,
                                 double timeout) {
    ORVEX_SCAN_CHECK(data != nullptr, "data != NULL", nullptr);
    ORVEX_SCAN_CHECK(samplesPerChannel > 0, "samplesPerChannel > 0", nullptr);
    ORVEX_SCAN_CHECK(layout == ORVEX_BY_CHANNEL || layout == ORVEX_BY_SCAN, "layout",
                     "ORVEX_BY_CHANNEL or ORVEX_BY_SCAN");
    if (readCount != nullptr) {
        *readCount = 0;
    }
    const int started = orvex_scanStart(samplesPerChannel);
    if (started < 0) {
        return started;
    }
    const int read = orvex_scanReadEx(data, samplesPerChannel, layout, readCount, timeout);
    if (read < 0) {
        // The read's failure is the one to report; the stop only tidies up.
        stopScan();
        return finish(read);
    }
    return orvex_scanStop();
}

extern "C" int orvex_scanStop(void) {
    if (!scanRunning() && cache.scanOutput == nullptr) {
        return finish(1);
    }
    return finish(stopScan());
}

extern "C" int orvex_scanInfo(orvex_ScanInfo *info) {
    ORVEX_SCAN_CHECK(info != nullptr, "info != NULL", nullptr);
    // The last scan started, until the next one; before any, the set-up.
    const bool started = scanRun.channels > 0;
    *info = orvex_ScanInfo{};
    info->channels = started ? scanRun.channels : scanSetup.channels.count;
    info->running = scanRunning() ? 1 : 0;
    info->rate = started ? scanRun.rate : scanSetup.rate;
    info->interval = 1.0 / info->rate;
    info->channelStep = scanRun.channelStep;
    info->samplesRead = scanRun.samplesRead;
    info->startTime = scanRun.startTime;
    info->startTimeUncertainty = scanRun.startTimeUncertainty;
    info->startTimeSource = scanRun.startTimeSource;
    return finish(0);
}

extern "C" int orvex_scanChannel(int index, orvex_ScanChannel *channel) {
    ORVEX_SCAN_CHECK(0 <= index && index < scanSetup.channels.count,
                     "0 <= index && index < channels", "not in the scan's channel list");
    ORVEX_SCAN_CHECK(channel != nullptr, "channel != NULL", nullptr);
    const ScanChannel &entry = scanSetup.channels.entries[std::size_t(index)];
    *channel = orvex_ScanChannel{};
    Fmt(channel->name, sizeof channel->name, "ai%i", entry.input);
    channel->input = entry.input;
    channel->range = entry.range;
    channel->terminal = entry.terminal;
    return finish(0);
}
