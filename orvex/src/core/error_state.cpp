#include "error_state.h"

#include "uiruntime/diagnostics.h"

namespace orvex {

std::int32_t lastError = 0;
std::array<char, ERROR_BUFFER_SIZE> lastErrorBuffer{};

} // namespace orvex

extern "C" int orvex_SetLastError(int code) {
    const int previous = orvex::lastError;
    orvex::lastError = code;
    return previous;
}

extern "C" int orvex_GetLastError(void) {
    return orvex::lastError;
}

extern "C" char *orvex_GetLastErrorBuffer(void) {
    return orvex::lastErrorBuffer.data();
}

extern "C" int orvex_PrintLastError(void) {
    ErrorPrintf("Error = %i, %s\n", orvex::lastError, orvex::lastErrorBuffer.data());
    return orvex::lastError;
}
