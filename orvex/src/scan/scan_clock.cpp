#include "scan_clock.h"

#include <ctime>

namespace orvex {

double utcNow() {
    std::timespec now{};
    if (std::timespec_get(&now, TIME_UTC) != TIME_UTC) {
        return 0.0;
    }
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

} // namespace orvex
