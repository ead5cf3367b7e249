// The library's one process-wide error state: the last recorded status and the text
// of the last failure.
#ifndef ORVEX_SRC_CORE_ERROR_STATE_H
#define ORVEX_SRC_CORE_ERROR_STATE_H

#include <orvex.h>

#include <array>
#include <cstdint>

namespace orvex {

extern std::int32_t lastError;
// Written only when an operation fails; never cleared.
extern std::array<char, ERROR_BUFFER_SIZE> lastErrorBuffer;

} // namespace orvex

#endif
