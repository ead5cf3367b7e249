// What a board is set up from, handed to it by whoever makes it: the process's driver
// library from its environment, a test from its own choice.
#ifndef PLATFORM_SIMBOARD_BOARD_BOARD_CONFIG_H
#define PLATFORM_SIMBOARD_BOARD_BOARD_CONFIG_H

#include "bench/bench_settings.h"
#include "names/outcome.h"

#include <string>

namespace simboard {

// A bench file as read when the board is made.
struct BenchFile {
    std::string path; // empty: there is none
    BenchSettings settings;
    Outcome failure; // set, with the path in its detail, when it cannot be used
};

struct BoardConfig {
    // The file of the board that processes share; empty: a board of the process's own.
    std::string sharedStatePath;
    std::string journalPath; // empty: no journal
    // Applied by the first process on the board, only checked by one that joins; a
    // failure makes every driver call fail.
    BenchFile bench;
};

} // namespace simboard

#endif
