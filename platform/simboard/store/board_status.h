// A readable account of the board's state: which board it is, who holds what, what the
// board drives and how the stand is set.  For `orvex-sim status`.
#ifndef PLATFORM_SIMBOARD_STORE_BOARD_STATUS_H
#define PLATFORM_SIMBOARD_STORE_BOARD_STATUS_H

#include "board_store.h"

#include <string>

namespace simboard {

// Takes the store's lock, and drops the processes that have ended first; says so when the
// lock cannot be had.
std::string describeBoard(BoardStore &store, double boardTime);

} // namespace simboard

#endif
