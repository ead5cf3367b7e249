// The lock of the shared board: a process-shared robust mutex in the state file.  A
// process killed while it holds it leaves it to the next taker, marked as one whose owner
// died.  No wait for it is endless, so that a holder that stopped (SIGSTOP, a debugger) or
// a damaged lock cannot hang every program: the taker gives up with a refusal that names
// the holder.  A lock left naming a thread that no longer exists is handed on as the
// kernel hands on the lock of a thread that died holding it.
#ifndef PLATFORM_SIMBOARD_STATE_FILE_SHARED_LOCK_H
#define PLATFORM_SIMBOARD_STATE_FILE_SHARED_LOCK_H

#include "names/outcome.h"

#include <pthread.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>

namespace simboard {

void initialiseSharedLock(pthread_mutex_t &mutex);

// What is wrong with a lock found in a state file, or empty when it can be used.
std::string lockDamage(const pthread_mutex_t &mutex);

// A process's memory of a holder that kept the lock through a whole wait: while it keeps
// it, the process's later calls are refused after a glance instead of a wait each.
class StuckHolder {
  public:
    bool is(int32_t thread) const { return thread != 0 && thread == thread_.load(); }
    void note(int32_t thread, std::chrono::steady_clock::time_point waitStart);
    void forget() {
        if (thread_.load(std::memory_order_relaxed) != 0) {
            thread_.store(0);
        }
    }
    // Since the start of the first wait it kept the lock through.
    std::chrono::steady_clock::time_point since() const;

  private:
    std::atomic<int32_t> thread_{0};
    mutable std::mutex mutex_;
    std::chrono::steady_clock::time_point since_{};
};

// Takes the lock, waiting at most `patience`; a refusal naming the holder when it cannot
// be had (`where` names the board).  `ownerDied` tells that the last holder ended while it
// held the lock: what it was doing is to be swept up.
Outcome takeSharedLock(pthread_mutex_t &mutex, std::chrono::milliseconds patience,
                       const std::string &where, StuckHolder &stuck, bool &ownerDied);

} // namespace simboard

#endif
