#include "names/status_codes.h"
#include "process_lookup.h"
#include "shared_lock.h"

#include <linux/futex.h>
#include <signal.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>

namespace simboard {
namespace {

// Between two looks at the holder.
constexpr std::chrono::milliseconds waitSlice{50};
// How long a holder that kept the lock through a whole wait is waited for again.
constexpr std::chrono::milliseconds glanceAtStuckHolder{200};

void relax() {
#if defined(__x86_64__) || defined(__i386__)
    __builtin_ia32_pause();
#elif defined(__aarch64__)
    asm volatile("yield");
#endif
}

template <class Clock> timespec timeOn(typename Clock::time_point at) {
    const auto nanoseconds =
        std::chrono::duration_cast<std::chrono::nanoseconds>(at.time_since_epoch()).count();
    return timespec{static_cast<time_t>(nanoseconds / 1000000000),
                    static_cast<long>(nanoseconds % 1000000000)};
}

#if defined(__SANITIZE_THREAD__)
constexpr bool threadSanitizer = true;
#elif defined(__has_feature)
constexpr bool threadSanitizer = __has_feature(thread_sanitizer);
#else
constexpr bool threadSanitizer = false;
#endif

// Waits for the lock until `until` on the steady clock, which is CLOCK_MONOTONIC.
// ThreadSanitizer knows only the wait on the realtime clock, which a step of the clock
// could stretch: its builds take that one, so that they see who holds the lock.
int lockUntil(pthread_mutex_t &mutex, std::chrono::steady_clock::time_point until) {
    if constexpr (threadSanitizer) {
        const timespec at = timeOn<std::chrono::system_clock>(
            std::chrono::system_clock::now() +
            std::chrono::duration_cast<std::chrono::system_clock::duration>(
                until - std::chrono::steady_clock::now()));
        return pthread_mutex_timedlock(&mutex, &at);
    }
    const timespec at = timeOn<std::chrono::steady_clock>(until);
    return pthread_mutex_clocklock(&mutex, CLOCK_MONOTONIC, &at);
}

// The lock word of the C library's robust mutex holds the holder's thread id and the
// kernel's flags; only glibc's layout is known here.
#if defined(__GLIBC__)
std::atomic_ref<int> lockWord(pthread_mutex_t &mutex) {
    return std::atomic_ref<int>(mutex.__data.__lock);
}

int32_t holderThread(pthread_mutex_t &mutex) {
    return lockWord(mutex).load() & FUTEX_TID_MASK;
}

void handOnFromVanishedHolder(pthread_mutex_t &mutex) {
    int word = lockWord(mutex).load();
    const int holder = word & FUTEX_TID_MASK;
    if (holder == 0 || kill(holder, 0) == 0 || errno != ESRCH) {
        return;
    }
    const int handedOn = (word & FUTEX_WAITERS) | FUTEX_OWNER_DIED;
    if (lockWord(mutex).compare_exchange_strong(word, handedOn)) {
        syscall(SYS_futex, &mutex.__data.__lock, FUTEX_WAKE, 1, nullptr, nullptr, 0);
    }
}
#else
int32_t holderThread(pthread_mutex_t &) {
    return 0;
}

void handOnFromVanishedHolder(pthread_mutex_t &) {}
#endif

// The board is held for a fraction of a microsecond per call: a taker that finds it held
// looks again for a moment before it sleeps, so that a hand-off between two busy
// processes costs no system calls.
int takeAtOnce(pthread_mutex_t &mutex) {
    constexpr int looks = 16;
    constexpr int longestPause = 64;
    // A look before each try, and longer pauses between looks: a look or a try takes the
    // lock's cache line from its holder, who then waits for it to let go.
    int result = holderThread(mutex) == 0 ? pthread_mutex_trylock(&mutex) : EBUSY;
    for (int look = 0, pause = 1; result == EBUSY && look < looks; ++look) {
        for (int beat = 0; beat < pause; ++beat) {
            relax();
        }
        pause = std::min(2 * pause, longestPause);
        if (holderThread(mutex) == 0) {
            result = pthread_mutex_trylock(&mutex);
        }
    }
    return result;
}

std::string secondsSince(std::chrono::steady_clock::time_point start) {
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.1f",
                  std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    return seconds;
}

} // namespace

void initialiseSharedLock(pthread_mutex_t &mutex) {
    pthread_mutexattr_t attributes;
    pthread_mutexattr_init(&attributes);
    pthread_mutexattr_setpshared(&attributes, PTHREAD_PROCESS_SHARED);
    pthread_mutexattr_setrobust(&attributes, PTHREAD_MUTEX_ROBUST);
    pthread_mutex_init(&mutex, &attributes);
    pthread_mutexattr_destroy(&attributes);
}

std::string lockDamage(const pthread_mutex_t &mutex) {
#if defined(__GLIBC__)
    // glibc marks a robust mutex whose owner died and whose next owner let go of it
    // without making it consistent: it cannot be taken again.
    constexpr int notRecoverable = INT_MAX - 1;
    pthread_mutex_t fresh;
    initialiseSharedLock(fresh);
    const bool sameKind = mutex.__data.__kind == fresh.__data.__kind;
    pthread_mutex_destroy(&fresh);
    if (!sameKind) {
        return "has a damaged lock";
    }
    if (mutex.__data.__owner == notRecoverable) {
        return "has a lock that cannot be taken again";
    }
#else
    (void)mutex;
#endif
    return {};
}

void StuckHolder::note(int32_t thread, std::chrono::steady_clock::time_point waitStart) {
    std::lock_guard<std::mutex> hold(mutex_);
    if (thread != thread_.load()) {
        since_ = waitStart;
        thread_.store(thread);
    }
}

std::chrono::steady_clock::time_point StuckHolder::since() const {
    std::lock_guard<std::mutex> hold(mutex_);
    return since_;
}

Outcome takeSharedLock(pthread_mutex_t &mutex, std::chrono::milliseconds patience,
                       const std::string &where, StuckHolder &stuck, bool &ownerDied) {
    int result = takeAtOnce(mutex);
    if (result == EBUSY) {
        const auto start = std::chrono::steady_clock::now();
        auto deadline = start + patience;
        for (result = ETIMEDOUT; result == ETIMEDOUT;) {
            result =
                lockUntil(mutex, std::min(std::chrono::steady_clock::now() + waitSlice, deadline));
            if (result != ETIMEDOUT) {
                break;
            }
            handOnFromVanishedHolder(mutex);
            const int32_t holder = holderThread(mutex);
            if (stuck.is(holder)) {
                deadline = std::min(deadline, start + glanceAtStuckHolder);
            }
            if (std::chrono::steady_clock::now() >= deadline) {
                stuck.note(holder, start);
                return refuse(status::resourceReserved,
                              "The shared board (" + where + ") is held by " +
                                  describeProcessOfThread(holder) + ", which has kept it for " +
                                  secondsSince(stuck.since()) + " s without letting go.");
            }
        }
    }
    ownerDied = result == EOWNERDEAD;
    if (result != 0 && !ownerDied) {
        return refuse(status::resourceReserved,
                      "The lock of the shared board (" + where + ") cannot be taken (" +
                          std::strerror(result) +
                          "); the next program to start rebuilds the board's state file.");
    }
    if (ownerDied) {
        pthread_mutex_consistent(&mutex);
    }
    stuck.forget();
    return {};
}

} // namespace simboard
