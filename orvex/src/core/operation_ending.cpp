#include "operation_ending.h"

#include "error_state.h"
#include "uiruntime/runtime_text.h"

#include <array>
#include <utility>

namespace orvex {
namespace {

constexpr const char *moduleName = "orvex";

// The status of a failure whose text the library has just written itself, until the
// ending takes it.  Every other negative status is the driver's, even one that happens
// to equal a library code.
int32 ownFailure = 0;

constexpr bool isLibraryCode(int32 status) {
    return status == ORVEX_STATUS_CHECK_FAILED || status == ORVEX_STATUS_NO_PROGRESS ||
           status == ORVEX_STATUS_NO_MEMORY;
}

// The driver's description of its status, or a text that says there is none.  The
// description is fetched into a buffer of its own, so that a failed fetch cannot leave
// an older failure's text behind; a description the driver wrote is kept even when its
// text call then reports a failure (a text cut to fit, say).
void describeDriverFailure(int32 status) {
    std::array<char, ERROR_BUFFER_SIZE> description{};
    const int32 fetched = DAQmxGetErrorString(status, description.data(), description.size());
    description.back() = '\0';
    if (description.front() == '\0') {
        Fmt(lastErrorBuffer.data(), lastErrorBuffer.size(),
            "%s: the board driver failed with status %i and gave no description of it "
            "(its error text call returned %i)",
            moduleName, status, fetched);
    } else if (isLibraryCode(status)) {
        Fmt(lastErrorBuffer.data(), lastErrorBuffer.size(),
            "%s: the board driver itself failed with status %i (not a library check): %s",
            moduleName, status, description.data());
    } else {
        lastErrorBuffer = description;
    }
}

} // namespace

int finish(int32 status) {
    const int32 own = std::exchange(ownFailure, 0);
    if (status < 0 && status != own) {
        describeDriverFailure(status);
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
    ownFailure = ORVEX_STATUS_CHECK_FAILED;
    return finish(ORVEX_STATUS_CHECK_FAILED);
}

int32 noMemory() {
    return noMemory("to keep track of a new driver task; the task was not created");
}

int32 noMemory(const char *consequence) {
    Fmt(lastErrorBuffer.data(), lastErrorBuffer.size(), "%s: out of memory %s", moduleName,
        consequence);
    ownFailure = ORVEX_STATUS_NO_MEMORY;
    return ORVEX_STATUS_NO_MEMORY;
}

int32 noProgress(int samplesDone, int blockSize) {
    Fmt(lastErrorBuffer.data(), lastErrorBuffer.size(),
        "%s: the driver reported success but moved no sample (%i of %i samples done)", moduleName,
        samplesDone, blockSize);
    ownFailure = ORVEX_STATUS_NO_PROGRESS;
    return ORVEX_STATUS_NO_PROGRESS;
}

} // namespace orvex
