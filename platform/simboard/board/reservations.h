// Which running task holds which of the board's resources, across every process that uses
// the board: a line or an analog output belongs to one running task, and there is one
// analog-input converter and one analog-output timing engine.  A holder whose process has
// gone loses what it held when it is next in the way.
#ifndef PLATFORM_SIMBOARD_BOARD_RESERVATIONS_H
#define PLATFORM_SIMBOARD_BOARD_RESERVATIONS_H

#include "names/outcome.h"
#include "store/board_store.h"
#include "task.h"

namespace simboard {

class Reservations {
  public:
    explicit Reservations(BoardStore &store) : store_(store) {}

    // Whether `task` may run now beside the other running tasks; if so, records what it
    // holds until release, in the table's entry `slot`, which release is given back.
    Outcome reserve(const Task &task, size_t &slot);
    void release(uint64_t taskId, size_t slot);

  private:
    BoardStore &store_;
};

} // namespace simboard

#endif
