// The common frame of every exported call: take the board's lock and its store's, let an armed
// fault answer instead, run the call, keep the details of a refusal for the status text, and write
// the journal line.  Whatever is thrown ends here, as a failure status.  A read of a running
// task may go without the store's lock, when it needs none of this.
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

// The call with the board's lock held: the store's lock taken, the rest as driverCall says.
template <class Run, class Describe>
int32_t callHoldingStore(Board &board, Lock &lock, const char *entryPoint, Run &&run,
                         Describe &&describe, BenchGate gate, std::chrono::milliseconds patience) {
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
}

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
    return callHoldingStore(board, lock, entryPoint, run, describe, gate, patience);
} catch (...) {
    return failedCall(entryPoint);
}

// A read that `readUnlocked` may serve without the store's lock, returning true; when it
// returns false, having done nothing, the call goes as driverCall's.  A board with a journal
// or an unusable bench file always goes that way, where its line is written or its refusal
// given.
template <class ReadUnlocked, class Run, class Describe>
int32_t driverRead(const char *entryPoint, ReadUnlocked &&readUnlocked, Run &&run,
                   Describe &&describe, std::chrono::milliseconds patience) noexcept try {
    Board &board = entryPointBoard();
    Lock lock = board.lock();
    if (!board.journal().enabled() && !board.benchFailure().failed() && readUnlocked()) {
        return 0;
    }
    return callHoldingStore(board, lock, entryPoint, run, describe, BenchGate::Applies, patience);
} catch (...) {
    return failedCall(entryPoint);
}

} // namespace simboard

#endif
