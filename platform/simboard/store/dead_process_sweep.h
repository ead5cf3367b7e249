// Dropping the processes that have ended from the shared board, with whatever their tasks
// held and whatever their bench file set: a process killed mid-run cannot let go of
// anything itself, so whoever next finds it gone does it for it.
#ifndef PLATFORM_SIMBOARD_STORE_DEAD_PROCESS_SWEEP_H
#define PLATFORM_SIMBOARD_STORE_DEAD_PROCESS_SWEEP_H

#include "board_store.h"

namespace simboard {

// Drops `process` when it is another process and has ended; true when it did.
bool dropIfEnded(BoardState &state, const BoardStore &store, const ProcessId &process);

// Drops every process that has ended.
void reapDeadProcesses(BoardState &state, const BoardStore &store);

} // namespace simboard

#endif
