// What the board itself puts on the wires: the levels its output lines drive and the
// voltages of its analog outputs.  The stand reads them through this view, so that it
// needs nothing else of the board.
#ifndef PLATFORM_SIMBOARD_STAND_BOARD_OUTPUTS_H
#define PLATFORM_SIMBOARD_STAND_BOARD_OUTPUTS_H

#include <optional>

namespace simboard {

class BoardOutputs {
  public:
    virtual std::optional<bool> drivenLevel(int port, int line) const = 0;
    virtual double analogOutputAt(int channel, double t) = 0;

  protected:
    ~BoardOutputs() = default;
};

} // namespace simboard

#endif
