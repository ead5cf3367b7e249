#include "operation_ending.h"

#include "error_state.h"
#include "runtime_text.h"

namespace orvex {
namespace {

constexpr const char *moduleName = "orvex";

// The library's own failures carry their text already; every other negative status
// comes from the driver, which describes it.
constexpr bool isOwnFailure(int32 status) {
    return status == ORVEX_STATUS_CHECK_FAILED || status == ORVEX_STATUS_NO_PROGRESS;
}

} // namespace

int finish(int32 status) {
    if (status < 0 && !isOwnFailure(status)) {
        DAQmxGetErrorString(status, lastErrorBuffer.data(), lastErrorBuffer.size());
    }
    orvex_SetLastError(status);
    return status;
}

int refuse(const CheckSite &site) {
    if (site.message != nullptr) {
        Fmt(lastErrorBuffer.data(), lastErrorBuffer.size(), "ASSERT ERORR: %s, line %i: %s: %s",
            moduleName, site.line, site.expression, site.message);
    } else {
        Fmt(lastErrorBuffer.data(), lastErrorBuffer.size(), "ASSERT ERORR: %s, line %i: %s",
            moduleName, site.line, site.expression);
    }
    return finish(ORVEX_STATUS_CHECK_FAILED);
}

int32 noProgress(int samplesDone, int blockSize) {
    Fmt(lastErrorBuffer.data(), lastErrorBuffer.size(),
        "%s: the driver reported success but moved no sample (%i of %i samples done)", moduleName,
        samplesDone, blockSize);
    return ORVEX_STATUS_NO_PROGRESS;
}

} // namespace orvex
