// Clocked analog input: one-shot blocks and a continuous fetch of one channel.
#include "block_transfer.h"
#include "clock_settings.h"
#include "core/check_sites.h"
#include "core/operation_ending.h"
#include "core/task_cache.h"

using namespace orvex;

namespace {

constexpr double defaultTimeout = 10.0;

bool validInput(int idx) {
    return 0 <= idx && idx < ANALOG_SIZEi;
}

int32 readBlock(TaskHandle task, double *warray, int size, int *readCount, double timeout) {
    const int32 status = transferBlock(size, [&](int done, int remaining, int32 *moved) {
        return DAQmxReadAnalogF64(task, remaining, timeout, DAQmx_Val_GroupByChannel, warray + done,
                                  uInt32(remaining), moved, nullptr);
    });
    if (status >= 0 && readCount != nullptr) {
        *readCount = size;
    }
    return status;
}

} // namespace

extern "C" int orvex_analogInClk(const char *source, double rate) {
    return storeClock(anlgClock, source, rate, checks::analogInClkSource);
}

extern "C" int orvex_analogInTrigger(const char *source, double level) {
    return storeTrigger(anlgClock, source, level, checks::analogInTriggerSource);
}

extern "C" int orvex_analogReadEx(int idx, double *warray, int size, int *readCount,
                                  double timeout) {
    ORVEX_CHECK(validInput(idx), checks::analogReadIndex);
    ORVEX_CHECK(warray != nullptr, checks::analogReadArray);
    ORVEX_CHECK(size > 0, checks::analogReadSize);
    int32 status = 0;
    if (cache.ai[idx] == nullptr) {
        ORVEX_TRY(status, createAITask(idx));
    }
    ORVEX_TRY(status, applyDueSettings(anlgClock, idx, cache.ai[idx], uInt64(size)));
    // No start call: the driver starts a task that is read while not running.
    ORVEX_TRY(status, readBlock(cache.ai[idx], warray, size, readCount, timeout));
    ORVEX_TRY(status, DAQmxStopTask(cache.ai[idx]));
    return finish(status);
}

extern "C" int orvex_analogRead(int idx, double *warray, int size, int *readCount) {
    return orvex_analogReadEx(idx, warray, size, readCount, defaultTimeout);
}

// Only one channel can be fetched at a time; the first fetch sets it up for one second
// of samples and marks it, later fetches only read, until orvex_analogInStop.
extern "C" int orvex_analogFetchEx(int idx, double *warray, int size, int *readCount,
                                   double timeout) {
    ORVEX_CHECK(validInput(idx), checks::analogFetchIndex);
    ORVEX_CHECK(warray != nullptr, checks::analogFetchArray);
    ORVEX_CHECK(size > 0, checks::analogFetchSize);
    const std::int32_t bit = std::int32_t(1) << idx;
    ORVEX_CHECK(anlgClock.maskFetch == 0 || anlgClock.maskFetch == bit, checks::analogFetchChannel);
    int32 status = 0;
    if (anlgClock.maskFetch == 0) {
        if (cache.ai[idx] == nullptr) {
            ORVEX_TRY(status, createAITask(idx));
        }
        ORVEX_TRY(status, applyDueSettings(anlgClock, idx, cache.ai[idx],
                                           oneSecondOfSamples(anlgClock.clkRate)));
        anlgClock.maskFetch = bit;
    }
    ORVEX_TRY(status, readBlock(cache.ai[idx], warray, size, readCount, timeout));
    return finish(status);
}

extern "C" int orvex_analogFetchStatus(void) {
    return finish(anlgClock.maskFetch != 0 ? 1 : 0);
}

extern "C" int orvex_analogInStop(int idx) {
    ORVEX_CHECK(validInput(idx), checks::analogInStopIndex);
    ORVEX_CHECK(anlgClock.maskFetch == (std::int32_t(1) << idx), checks::analogInStopChannel);
    return finish(stopMarkedChannel(anlgClock, cache.ai[idx]));
}
