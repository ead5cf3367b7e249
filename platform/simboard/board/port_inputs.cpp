#include "port_inputs.h"
#include "stand/lab_stand.h"
#include "store/unlocked_copy.h"

#include <algorithm>

namespace simboard {

uint8_t PortInputs::levels(uint8_t lineMask, Direction direction, double t) const {
    if (direction == Direction::Output) {
        return latch & lineMask;
    }
    uint8_t value = 0;
    for (int line = 0; line < linesPerPort; ++line) {
        const uint8_t bit = static_cast<uint8_t>(1u << line);
        if ((lineMask & bit) == 0) {
            continue;
        }
        const bool high = (driving & bit) != 0
                              ? (latch & bit) != 0
                              : standLineLevel(port, line, overrides[line], switches, t);
        value |= high ? bit : 0;
    }
    return value;
}

PortInputs copyPortInputs(const BoardState &state, int port) {
    PortInputs inputs;
    inputs.port = port;
    inputs.latch = unlockedCopy(state.latch[port]);
    inputs.driving = unlockedCopy(state.driving[port]);
    const StandSettings &stand = state.stand.current;
    for (int line = 0; line < linesPerPort; ++line) {
        inputs.overrides[line] = unlockedCopy(stand.lineOverrides[port * linesPerPort + line]);
    }
    inputs.switches = unlockedCopy(stand.switches);
    return inputs;
}

} // namespace simboard
