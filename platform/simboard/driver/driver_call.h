// The common frame of every exported call: take the board's lock and its store's, let an armed
// fault answer instead, run the call, keep the details of a refusal for the status text, and write
// the journal line.  Whatever is thrown ends here, as a failure status.
#ifndef PLATFORM_SIMBOARD_DRIVER_DRIVER_CALL_H
#define PLATFORM_SIMBOARD_DRIVER_DRIVER_CALL_H

#include "call_failure.h"
#include "entry_point_board.h"

#include <chrono>
#include <string>

namespace simboard {

// Whether a bench file that could not be used makes the call fail: every call but the
// control calls and the one that explains failures.  That one also answers while another
// process keeps the shared board, as it is how the caller reads that refusal.
enum class BenchGate { Applies, Exempt, Explains };

// `run` takes the lock and returns an Outcome; `describe` adds the call's arguments to
// the journal line, after the call, so that results written through pointers show.
// `patience` bounds the wait for a shared board that another process holds: a call with
// a timeout of its own waits as long as that (lockPatienceFor).
template <class Run, class Describe>
int32_t driverCall(const char *entryPoint, Run &&run, Describe &&describe,
                   BenchGate gate = BenchGate::Applies,
                   std::chrono::milliseconds patience = BoardStore::lockPatience) noexcept try {
    Board &board = entryPointBoard();
    Lock lock = board.lock();
    const bool explains = gate == BenchGate::Explains;
    StoreAccess access(board.store(), explains ? BoardStore::glancePatience : patience);
    const bool boardHeld = !access.refusal().failed();
    Outcome outcome = boardHeld || explains ? Outcome{} : access.refusal();
    if (!outcome.failed() && gate == BenchGate::Applies) {
        outcome = board.benchFailure();
    }
    int32_t injected = 0;
    if (!outcome.failed()) {
        // The faults are armed on the board, out of reach without its lock.
        injected = boardHeld ? board.faults().onCall(entryPoint) : 0;
        if (injected < 0) {
            outcome = refuse(injected, std::string("Injected fault on ") + entryPoint + ".");
        } else {
            outcome = run(lock);
            if (injected > 0 && outcome.status == 0) {
                outcome.status = injected;
            }
        }
    }
    board.remember(outcome);
    if (board.journal().enabled()) {
        JournalLine line(entryPoint);
        describe(line);
        board.journal().write(line.finish(outcome.status, injected != 0));
    }
    return outcome.status;
} catch (...) {
    return failedCall(entryPoint);
}

} // namespace simboard

#endif
