// A fresh private board in virtual time for one test, which the driver entry points of
// the test program act on while it lives.
#ifndef TESTS_SIMBOARD_BOARD_UNDER_TEST_H
#define TESTS_SIMBOARD_BOARD_UNDER_TEST_H

#include "board/board.h"

class BoardUnderTest {
  public:
    explicit BoardUnderTest(const simboard::BoardConfig &config);
    // A private board with these settings applied.
    explicit BoardUnderTest(const simboard::BenchSettings &settings);
    BoardUnderTest(const BoardUnderTest &) = delete;
    BoardUnderTest &operator=(const BoardUnderTest &) = delete;
    ~BoardUnderTest();

  private:
    simboard::Board board_;
};

#endif
