// libFuzzer target of the bench file: any text must be either refused whole with the
// bench file's status and a detail, or applied; the stand goes back to its defaults after
// each input.
#include "bench_file.h"
#include "board.h"
#include "fuzz_require.h"
#include "status_codes.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    simboard::Board &board = simboard::Board::instance();
    const simboard::Lock lock = board.lock();
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    const simboard::Outcome outcome = simboard::applyBenchText(text, board);
    if (outcome.failed()) {
        fuzzRequire(outcome.status == simboard::status::benchFileInvalid);
        fuzzRequire(!outcome.detail.empty());
    }
    board.resetStand();
    return 0;
}
