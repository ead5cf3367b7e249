// One voltage in or out, on demand, over the channel's cached task.
#include "core/check_sites.h"
#include "core/operation_ending.h"
#include "core/task_cache.h"

using namespace orvex;

namespace {

constexpr float64 singlePointTimeout = 1.0;

} // namespace

extern "C" int orvex_analogOut(int idx, double val) {
    ORVEX_CHECK(0 <= idx && idx < ANALOG_SIZEo, checks::analogOutIndex);
    int32 status = 0;
    if (cache.ao[idx] == nullptr) {
        ORVEX_TRY(status, createAOTask(idx));
    }
    ORVEX_TRY(status, DAQmxWriteAnalogF64(cache.ao[idx], 1, 1, singlePointTimeout,
                                          DAQmx_Val_GroupByChannel, &val, nullptr, nullptr));
    return finish(status);
}

extern "C" int orvex_analogIn(int idx, double *val) {
    ORVEX_CHECK(0 <= idx && idx < ANALOG_SIZEi, checks::analogInIndex);
    ORVEX_CHECK(val != nullptr, checks::analogInValue);
    int32 status = 0;
    if (cache.ai[idx] == nullptr) {
        ORVEX_TRY(status, createAITask(idx));
    }
    ORVEX_TRY(status, DAQmxReadAnalogF64(cache.ai[idx], 1, singlePointTimeout,
                                         DAQmx_Val_GroupByChannel, val, 1, nullptr, nullptr));
    return finish(status);
}
