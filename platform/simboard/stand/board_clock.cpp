#include "board_clock.h"

namespace simboard {

BoardClock::BoardClock(Mode mode)
    : origin_(std::chrono::steady_clock::now()), virtual_(mode == Mode::Virtual) {}

double BoardClock::now() const {
    if (virtual_) {
        return virtualNow_;
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - origin_).count();
}

void BoardClock::setVirtual(bool on) {
    if (on == virtual_) {
        return;
    }
    double current = now();
    virtual_ = on;
    if (on) {
        virtualNow_ = current;
    } else {
        origin_ = std::chrono::steady_clock::now() -
                  std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                      std::chrono::duration<double>(current));
    }
}

void BoardClock::advanceTo(double seconds) {
    if (virtual_ && seconds > virtualNow_) {
        virtualNow_ = seconds;
    }
}

void BoardClock::restart() {
    origin_ = std::chrono::steady_clock::now();
    virtualNow_ = 0.0;
}

BoardClock::WallTime BoardClock::wallTimeAt(double seconds) const {
    return origin_ + std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                         std::chrono::duration<double>(seconds));
}

} // namespace simboard
