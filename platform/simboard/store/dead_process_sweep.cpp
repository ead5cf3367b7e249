#include "dead_process_sweep.h"
#include "bench/fault_injection.h"

#include <algorithm>

namespace simboard {
namespace {

void forgetProcess(BoardState &state, const ProcessId &process) {
    for (Holding &holding : state.holdings) {
        if (holding.used && holding.owner == process) {
            holding.used = false;
        }
    }
    trimHoldings(state);
    for (ProcessId &entry : state.processes) {
        if (entry == process) {
            entry = {};
        }
    }
    if (state.benchProcess == process) {
        // What its bench file set ends with it.
        state.stand.endBenchFile();
        FaultInjection(state.faults).disarmBenchFile();
        state.benchProcess = {};
    }
}

} // namespace

bool dropIfEnded(BoardState &state, const BoardStore &store, const ProcessId &process) {
    if (process == store.self() || store.alive(process)) {
        return false;
    }
    forgetProcess(state, process);
    return true;
}

void reapDeadProcesses(BoardState &state, const BoardStore &store) {
    for (const ProcessId process : state.processes) {
        if (process.pid != 0) {
            dropIfEnded(state, store, process);
        }
    }
    // The processes left in the table live: only holders and a bench file's process not in
    // it are looked up, each a read of the process table of the system.
    auto unregistered = [&state](const ProcessId &process) {
        return process.pid <= 0 || std::find(state.processes.begin(), state.processes.end(),
                                             process) == state.processes.end();
    };
    for (const Holding &holding : state.holdings) {
        if (holding.used && unregistered(holding.owner)) {
            dropIfEnded(state, store, holding.owner);
        }
    }
    if (state.benchProcess.pid != 0 && unregistered(state.benchProcess)) {
        dropIfEnded(state, store, state.benchProcess);
    }
}

} // namespace simboard
