// The bench file (JSON, named by ORVEX_SIM_BENCH) and the fragments of the same format
// that tests apply while a program runs.  Keys are described in README.md.  A fragment
// is checked completely before any of it takes effect.
#ifndef ORVEX_SIMBOARD_BENCH_FILE_H
#define ORVEX_SIMBOARD_BENCH_FILE_H

#include "outcome.h"

#include <string_view>

namespace simboard {

class Board;

Outcome applyBenchText(std::string_view json, Board &board);
Outcome loadBenchFile(const char *path, Board &board);

} // namespace simboard

#endif
