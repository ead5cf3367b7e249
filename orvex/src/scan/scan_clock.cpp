#include "scan_clock.h"

#include <chrono>

namespace orvex {

double utcNow() {
    using Seconds = std::chrono::duration<double>;
    return std::chrono::duration_cast<Seconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

} // namespace orvex
