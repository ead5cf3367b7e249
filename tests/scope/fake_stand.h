// A stand of the tests' own behind the scope's scan source: ao0 wired to ai0 and ao1 to
// ai1 as on the lab stand, every other input at 0 V, in time that moves only as samples
// are read, digital lines set by the test, and a converter that another program can be
// made to hold.
#ifndef TESTS_SCOPE_FAKE_STAND_H
#define TESTS_SCOPE_FAKE_STAND_H

#include "acquisition/scan_source.h"

#include <atomic>
#include <memory>

namespace scope_test {

struct FakeStand {
    // Starts refused as though another program held the converter, before one succeeds.
    std::atomic<int> heldStarts = 0;
    std::atomic<int> starts = 0;
    // Levels of the digital lines of ports 0 and 1, bit n line n.
    std::atomic<unsigned> lineLevels = 0;
};

scope::ScanSourceMaker fakeSource(std::shared_ptr<FakeStand> stand);

inline constexpr const char *holderMessage =
    "Task \"zelbrinAI\" needs the analog-input converter, held by running task \"ai2\" of "
    "process 4711.";

} // namespace scope_test

#endif
