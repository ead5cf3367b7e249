// The layout of the shared board's state file, which every process using the board maps:
// a header that tells a stale or damaged file from a good one, the lock, and the state.
#ifndef PLATFORM_SIMBOARD_STATE_FILE_SHARED_FILE_H
#define PLATFORM_SIMBOARD_STATE_FILE_SHARED_FILE_H

#include "store/board_state.h"

#include <pthread.h>

#include <cstdint>

namespace simboard {

constexpr uint64_t sharedFileMagic = 0x314D495358565230ull; // "0RVXSIM1"
constexpr uint32_t sharedFileVersion = 4;

struct SharedFile {
    uint64_t magic;
    uint32_t version;
    uint32_t size;
    int64_t originNanoseconds; // board time 0 on the steady clock
    uint64_t checksum;
    // Lines of their own: the lock is written by every call that takes it, the header never
    // after it is made, and most of the state is only read by most calls.
    alignas(64) pthread_mutex_t mutex;
    // Odd while a call holds the lock, counted up as it takes it and as it lets go: a read
    // made without the lock is whole when the count was even and the same before and after.
    uint64_t changes;
    alignas(64) BoardState state;
};

} // namespace simboard

#endif
