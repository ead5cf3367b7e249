// What decides the levels a digital read of one port sees: what the board drives on the port
// and the stand's settings of its lines, copied out of the board's state.  The copy is small,
// so that a read of the shared board can take it without the store's lock.
#ifndef PLATFORM_SIMBOARD_BOARD_PORT_INPUTS_H
#define PLATFORM_SIMBOARD_BOARD_PORT_INPUTS_H

#include "store/board_state.h"
#include "task.h"

#include <array>
#include <cstdint>
#include <optional>

namespace simboard {

struct PortInputs {
    int port = 0;
    uint8_t latch = 0;
    uint8_t driving = 0;
    std::array<std::optional<bool>, linesPerPort> overrides{};
    std::array<SwitchMode, switchCount> switches{};

    // The levels of the lines of `lineMask` (port-aligned): the latched levels for an
    // output task, and for an input task the board's drive, or else the stand's level at
    // board time `t`.
    uint8_t levels(uint8_t lineMask, Direction direction, double t) const;
};

// Reads the state through unlockedCopy, so it may go without the store's lock.
PortInputs copyPortInputs(const BoardState &state, int port);

} // namespace simboard

#endif
