// What the system says about a process or thread named in the shared board's state,
// which may have ended long ago or never have existed (another process wrote the number).
#ifndef PLATFORM_SIMBOARD_STATE_FILE_PROCESS_LOOKUP_H
#define PLATFORM_SIMBOARD_STATE_FILE_PROCESS_LOOKUP_H

#include "store/board_state.h"

#include <string>

namespace simboard {

// This process, told apart from a later one with the same number.
ProcessId currentProcess();
// Whether the process still runs; a zombie has ended, and a number of 0 or below names no
// process (kill() would take -1 for every process there is).
bool processAlive(const ProcessId &process);
// "process 4711" for the process a thread belongs to, saying when it is stopped; "another
// process" when the thread is not known.
std::string describeProcessOfThread(int32_t threadId);

} // namespace simboard

#endif
