// A check of a board's state that another process wrote, before it is trusted: the
// entries whose damage its readers would not survive or would never clear (a process
// number of 0 or below, a holding of a resource the board does not have, more faults than
// the table holds).
#ifndef PLATFORM_SIMBOARD_STORE_STATE_CHECK_H
#define PLATFORM_SIMBOARD_STORE_STATE_CHECK_H

#include "board_state.h"

#include <string>

namespace simboard {

// What is wrong with the state of a shared board, or empty when it can be used.
std::string stateDamage(const BoardState &state);

} // namespace simboard

#endif
