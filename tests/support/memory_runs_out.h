// The test program's operator new, which can be made to fail as with memory exhausted: while
// a MemoryRunsOut lives, the n-th allocation from its start on throws std::bad_alloc, and so
// do as many after it as asked.  Only the one call under test should run in its scope: test
// assertions and journals allocate too.
#ifndef TESTS_SUPPORT_MEMORY_RUNS_OUT_H
#define TESTS_SUPPORT_MEMORY_RUNS_OUT_H

#include <limits>

class MemoryRunsOut {
  public:
    static constexpr long forGood = std::numeric_limits<long>::max();

    explicit MemoryRunsOut(long nth, long failures = 1);
    ~MemoryRunsOut();
    MemoryRunsOut(const MemoryRunsOut &) = delete;
    MemoryRunsOut &operator=(const MemoryRunsOut &) = delete;

    // Whether an allocation failed so far.
    bool struck() const;
};

#endif
