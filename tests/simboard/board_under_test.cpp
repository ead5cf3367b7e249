// The board the entry points of these tests act on: the running test's own.
#include "board_under_test.h"

#include "driver/entry_point_board.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

simboard::Board *current = nullptr;

} // namespace

simboard::Board &simboard::entryPointBoard() {
    // A call with no board made would otherwise be undefined, not a failed test.
    if (current == nullptr) {
        ADD_FAILURE() << "a driver call outside a test's board";
        std::abort();
    }
    return *current;
}

BoardUnderTest::BoardUnderTest(const simboard::BoardConfig &config)
    : board_(config, simboard::BoardClock(simboard::BoardClock::Mode::Virtual)) {
    current = &board_;
}

BoardUnderTest::BoardUnderTest(const simboard::BenchSettings &settings)
    : BoardUnderTest(simboard::BoardConfig{}) {
    EXPECT_FALSE(board_.applySettings(settings, simboard::SettingsSource::BenchFile).failed());
}

BoardUnderTest::~BoardUnderTest() {
    current = nullptr;
}
