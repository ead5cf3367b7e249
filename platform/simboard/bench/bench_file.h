// The bench file (JSON) and the fragments of the same format that tests apply while a
// program runs, read into plain settings.  Keys are described in platform/simboard/README.md.
// A text is checked completely before any of it is taken.
#ifndef PLATFORM_SIMBOARD_BENCH_BENCH_FILE_H
#define PLATFORM_SIMBOARD_BENCH_BENCH_FILE_H

#include "board/board_config.h"

#include <string_view>

namespace simboard {

BenchFile readBenchFile(const char *path);
// Whether the bench file asks for a board of the process's own, or cannot be used at
// all (every call then fails, on a private board).
bool wantsPrivateBoard(const BenchFile &bench);
// A text in the bench file's format: a whole file or a fragment.
Outcome parseBenchText(std::string_view json, BenchSettings &settings);

} // namespace simboard

#endif
