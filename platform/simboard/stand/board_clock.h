// The board's time in seconds since the library was loaded.  In real time it follows the
// steady wall clock; in virtual time it stands still until a read needs later samples
// (or a test advances it), so clocked reads complete at once and runs repeat exactly.
#ifndef PLATFORM_SIMBOARD_STAND_BOARD_CLOCK_H
#define PLATFORM_SIMBOARD_STAND_BOARD_CLOCK_H

#include <chrono>

namespace simboard {

class BoardClock {
  public:
    using WallTime = std::chrono::steady_clock::time_point;

    enum class Mode { Real, Virtual };

    // From board time 0, now.
    explicit BoardClock(Mode mode = Mode::Real);

    double now() const;
    bool isVirtual() const { return virtual_; }
    // Switching keeps the board time continuous: it never runs backwards.
    void setVirtual(bool on);
    // Virtual time only; a time in the past is ignored.
    void advanceTo(double seconds);
    WallTime wallTimeAt(double seconds) const;
    // Back to board time 0: a run set up by a bench file starts from the same time, so
    // with a fixed seed it repeats exactly.
    void restart();
    // Real time from this board time 0, which processes sharing a board agree on.
    void startAt(WallTime origin) {
        origin_ = origin;
        virtual_ = false;
    }

  private:
    WallTime origin_;
    bool virtual_ = false;
    double virtualNow_ = 0.0;
};

} // namespace simboard

#endif
