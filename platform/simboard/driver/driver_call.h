// The common frame of every exported call: take the board's lock and its store's, let an armed
// fault answer instead, run the call, keep the details of a refusal for the status text, and write
// the journal line.  Whatever is thrown ends here, as a failure status.
#ifndef PLATFORM_SIMBOARD_DRIVER_DRIVER_CALL_H
#define PLATFORM_SIMBOARD_DRIVER_DRIVER_CALL_H

#include "call_failure.h"
#include "entry_point_board.h"

#include <string>

namespace simboard {

// Whether a bench file that could not be used makes the call fail: every call but the one
// that explains the failure.
enum class BenchGate { Applies, Exempt };

// `run` takes the lock and returns an Outcome; `describe` adds the call's arguments to
// the journal line, after the call, so that results written through pointers show.
template <class Run, class Describe>
int32_t driverCall(const char *entryPoint, Run &&run, Describe &&describe,
                   BenchGate gate = BenchGate::Applies) noexcept try {
    Board &board = entryPointBoard();
    Lock lock = board.lock();
    StoreAccess access(board.store());
    Outcome outcome = gate == BenchGate::Applies ? board.benchFailure() : Outcome{};
    int32_t injected = 0;
    if (!outcome.failed()) {
        injected = board.faults().onCall(entryPoint);
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
