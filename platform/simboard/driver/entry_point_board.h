// The board that the exported entry points and control calls act on.  The driver library
// defines it as the process's own board; a test program that links the entry points
// defines it as the board of the test that runs.
#ifndef PLATFORM_SIMBOARD_DRIVER_ENTRY_POINT_BOARD_H
#define PLATFORM_SIMBOARD_DRIVER_ENTRY_POINT_BOARD_H

#include "board/board.h"

namespace simboard {

Board &entryPointBoard();

} // namespace simboard

#endif
