// What one process keeps between the commands it runs: a `run` script's lines share it,
// so port directions, tasks and a running generation carry from one line to the next.
#ifndef TOOLS_ORVEX_CLI_CORE_SESSION_H
#define TOOLS_ORVEX_CLI_CORE_SESSION_H

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace orvex_cli {

struct CommonOptions {
    std::string driver;
    std::string bench;
    std::string journal;
    std::optional<int> slot;
    bool quiet = false;
};

// An output generation armed to start with the next scan (`ao generate --in-step`).  Its
// block is made when the scan's rate is known, for a generation on the scan's clock.
struct InStepGeneration {
    int channel = 0;
    bool shareClock = false;
    double rate = 0.0; // its own clock's, without shareClock
    std::function<std::vector<double>(double rate)> block;
    std::string wave; // what the user asked for, for the description
};

class Session {
  public:
    // Sets the driver and simulated-board variables and the slot.  The variables count
    // only before the first board call of the process.
    void apply(const CommonOptions &options);

    bool quiet() const { return isQuiet; }
    int slot() const { return boardSlot; }
    bool inScript() const { return scriptDepth > 0; }
    int scriptNesting() const { return scriptDepth; }
    void enterScript() { ++scriptDepth; }
    void leaveScript() { --scriptDepth; }

    // The port's direction mask set by this process, if any.
    std::optional<std::uint8_t> portMask(int port) const;
    void setPortMask(int port, std::uint8_t mask);

    int generatingChannel() const { return generating; }
    void setGeneratingChannel(int channel) { generating = channel; }

    // The armed generations are handed over once, to the next acquisition.
    void armInStep(InStepGeneration generation);
    const std::vector<InStepGeneration> &armedInStep() const { return inStep; }
    std::vector<InStepGeneration> takeInStep();

    // Stops a running generation and releases every board task; reports a failure on
    // standard error and returns false.
    bool release();

    // "PXI1Slot2", and "PXI1Slot2/ai0" for ("ai", 0).
    std::string boardName() const;
    std::string physicalChannel(const char *kind, int channel) const;

  private:
    bool isQuiet = false;
    int boardSlot = 2;
    int scriptDepth = 0;
    int generating = -1;
    std::optional<std::uint8_t> masks[3];
    std::vector<InStepGeneration> inStep;
};

} // namespace orvex_cli

#endif
