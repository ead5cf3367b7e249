// Reading the board's state without its lock, while another process may be changing it:
// each byte is read as a relaxed atomic, so that the read is no data race.  Whether the
// copy is whole is for the store's count of changes to tell (BoardStore::readWithoutLock).
#ifndef PLATFORM_SIMBOARD_STORE_UNLOCKED_COPY_H
#define PLATFORM_SIMBOARD_STORE_UNLOCKED_COPY_H

#include <array>
#include <atomic>
#include <bit>
#include <cstddef>
#include <type_traits>

namespace simboard {

template <class T> T unlockedCopy(const T &shared) {
    static_assert(std::is_trivially_copyable_v<T>);
    // The state is writable memory; atomic_ref only wants it named so.
    auto *from = reinterpret_cast<unsigned char *>(const_cast<T *>(&shared));
    std::array<unsigned char, sizeof(T)> bytes;
    for (size_t i = 0; i < sizeof(T); ++i) {
        bytes[i] = std::atomic_ref<unsigned char>(from[i]).load(std::memory_order_relaxed);
    }
    return std::bit_cast<T>(bytes);
}

} // namespace simboard

#endif
