// libFuzzer target of the bench file: any text must be either refused whole with the
// bench file's status and a detail, or read and taken by a board.
#include "bench/bench_file.h"
#include "board/board.h"
#include "fuzz/fuzz_require.h"
#include "names/status_codes.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static simboard::Board board(simboard::BoardConfig{}, simboard::BoardClock());
    const simboard::Lock lock = board.lock();
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    simboard::BenchSettings settings;
    simboard::Outcome outcome = simboard::parseBenchText(text, settings);
    if (!outcome.failed()) {
        outcome = board.applySettings(settings, simboard::SettingsSource::Fragment);
    }
    if (outcome.failed()) {
        fuzzRequire(outcome.status == simboard::status::benchFileInvalid);
        fuzzRequire(!outcome.detail.empty());
    }
    board.resetStand();
    return 0;
}
