// The process's board behind the exported entry points, set up on the first call from the
// environment, which is read here only: the bench file (ORVEX_SIM_BENCH), the journal
// (ORVEX_SIM_JOURNAL) and where the shared board lives (ORVEX_SIM_STATE, XDG_RUNTIME_DIR).
#include "bench/bench_file.h"
#include "entry_point_board.h"
#include "store/board_store.h"

#include "host/host_text.h"

namespace simboard {
namespace {

BoardConfig configFromEnvironment() {
    BoardConfig config;
    if (const std::string bench = host::environment("ORVEX_SIM_BENCH"); !bench.empty()) {
        config.bench = readBenchFile(bench.c_str());
    }
    config.journalPath = host::environment("ORVEX_SIM_JOURNAL");
    if (!wantsPrivateBoard(config.bench)) {
        config.sharedStatePath = sharedStatePath(host::environment("ORVEX_SIM_STATE"),
                                                 host::environment("XDG_RUNTIME_DIR"));
    }
    return config;
}

} // namespace

Board &entryPointBoard() {
    // Never destroyed: a program may still call the driver from its own static
    // destructors, after this library's would have run.
    static Board *board = new Board(configFromEnvironment(), BoardClock());
    return *board;
}

} // namespace simboard
