// The bench file (JSON, named by ORVEX_SIM_BENCH) and the fragments of the same format
// that tests apply while a program runs.  Keys are described in README.md.  A fragment
// is checked completely before any of it takes effect.
#ifndef ORVEX_SIMBOARD_BENCH_FILE_H
#define ORVEX_SIMBOARD_BENCH_FILE_H

#include "outcome.h"

#include <string>
#include <string_view>

namespace simboard {

class Board;

// The bench file as read when the board is loaded.
struct BenchFile {
    std::string path; // empty: there is none
    std::string text;
    Outcome failure; // set when it cannot be read
};

BenchFile readBenchFile(const char *path);
// Whether the bench file asks for a board of the process's own ("private": true, or
// virtual time), or cannot be used at all (every call then fails, on a private board).
bool wantsPrivateBoard(const BenchFile &bench);
// Applies the whole file, or only checks it (a process joining a shared board in use).
Outcome applyBenchFile(const BenchFile &bench, Board &board, bool apply);
// A fragment of a control call.
Outcome applyBenchText(std::string_view json, Board &board);

} // namespace simboard

#endif
