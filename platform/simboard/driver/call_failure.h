// What an exported call returns when its frame catches an exception: none may leave the
// library through its C functions, whose callers could not catch it.
#ifndef PLATFORM_SIMBOARD_DRIVER_CALL_FAILURE_H
#define PLATFORM_SIMBOARD_DRIVER_CALL_FAILURE_H

#include <cstdint>

namespace simboard {

// For use in a handler only: the status for the exception being handled (out of memory, or
// any other failure), whose details the board keeps for the status text where memory
// still allows.
int32_t failedCall(const char *entryPoint) noexcept;

} // namespace simboard

#endif
