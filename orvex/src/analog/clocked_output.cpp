// Clocked analog output: a block generated on one channel until stopped or replaced.
#include "block_transfer.h"
#include "clock_settings.h"
#include "core/check_sites.h"
#include "core/operation_ending.h"
#include "core/task_cache.h"

using namespace orvex;

namespace {

constexpr double defaultTimeout = 10.0;

bool validOutput(int idx) {
    return 0 <= idx && idx < ANALOG_SIZEo;
}

int32 writeBlock(TaskHandle task, const double *warray, int size, double timeout) {
    return transferBlock(size, [&](int done, int remaining, int32 *moved) {
        return DAQmxWriteAnalogF64(task, remaining, 1, timeout, DAQmx_Val_GroupByChannel,
                                   warray + done, moved, nullptr);
    });
}

} // namespace

extern "C" int orvex_analogOutClk(const char *source, double rate) {
    return storeClock(dacOpt, source, rate, checks::analogOutClkSource);
}

extern "C" int orvex_analogOutTrigger(const char *source, double level) {
    return storeTrigger(dacOpt, source, level, checks::analogOutTriggerSource);
}

// The write's auto-start starts the generation, which then runs until stopped; a new
// block on the generating channel stops the old generation first, whatever that stop
// returns, while a block on the other channel only takes the mark over.
extern "C" int orvex_analogWriteEx(int idx, const double *warray, int size, double timeout) {
    ORVEX_CHECK(validOutput(idx), checks::analogWriteIndex);
    ORVEX_CHECK(warray != nullptr, checks::analogWriteArray);
    ORVEX_CHECK(size > 0, checks::analogWriteSize);
    int32 status = 0;
    if (cache.ao[idx] == nullptr) {
        ORVEX_TRY(status, createAOTask(idx));
    }
    const std::int32_t bit = std::int32_t(1) << idx;
    if (dacOpt.maskFetch == bit) {
        orvex_analogOutStop(idx);
    }
    ORVEX_TRY(status, applyDueSettings(dacOpt, idx, cache.ao[idx], uInt64(size)));
    ORVEX_TRY(status, writeBlock(cache.ao[idx], warray, size, timeout));
    dacOpt.maskFetch = bit;
    return finish(status);
}

extern "C" int orvex_analogWrite(int idx, const double *warray, int size) {
    return orvex_analogWriteEx(idx, warray, size, defaultTimeout);
}

extern "C" int orvex_analogOutStop(int idx) {
    ORVEX_CHECK(validOutput(idx), checks::analogOutStopIndex);
    ORVEX_CHECK(dacOpt.maskFetch == (std::int32_t(1) << idx), checks::analogOutStopChannel);
    return finish(stopMarkedChannel(dacOpt, cache.ao[idx]));
}
