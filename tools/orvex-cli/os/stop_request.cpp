#include "stop_request.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace orvex_cli {
namespace {

// Lock-free, so a signal handler may set it.
std::atomic<bool> stopAsked{false};
std::atomic<bool> rotationAsked{false};
static_assert(std::atomic<bool>::is_always_lock_free);

} // namespace

void requestStop() {
    stopAsked.store(true);
}

bool stopRequested() {
    return stopAsked.load();
}

void requestRotation() {
    rotationAsked.store(true);
}

bool takeRotationRequest() {
    return rotationAsked.exchange(false);
}

void sleepUnlessStopped(double seconds) {
    // Short slices keep the answer to a stop prompt on every platform.
    constexpr double slice = 0.05;
    while (seconds > 0.0 && !stopRequested()) {
        const double now = seconds < slice ? seconds : slice;
        std::this_thread::sleep_for(std::chrono::duration<double>(now));
        seconds -= now;
    }
}

} // namespace orvex_cli
