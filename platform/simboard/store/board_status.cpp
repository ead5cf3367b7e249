#include "board_status.h"
#include "dead_process_sweep.h"

#include <algorithm>
#include <cstdio>

namespace simboard {
namespace {

std::string format(const char *pattern, auto... values) {
    char text[160];
    std::snprintf(text, sizeof text, pattern, values...);
    return text;
}

std::string resourceOf(const Holding &holding) {
    switch (holding.resource) {
    case Resource::Lines:
        return format("port%u lines 0x%02X", holding.port, holding.lineMask);
    case Resource::AnalogInput:
        return format("analog input converter (ai%u)", holding.analogChannel);
    case Resource::AnalogOutput:
        return format("ao%u%s", holding.analogChannel, holding.clocked ? " and timing engine" : "");
    }
    return "?";
}

std::string describeHoldings(const BoardState &state) {
    std::string text;
    for (const Holding &holding : state.holdings) {
        if (!holding.used) {
            continue;
        }
        const auto &name = holding.taskName;
        text += "  " + resourceOf(holding) + ": task \"" +
                std::string(name.begin(), std::find(name.begin(), name.end(), '\0')) + "\"" +
                (holding.clocked ? " (clocked)" : "") +
                (holding.owner.pid != 0 ? format(" of process %d", holding.owner.pid) : "") + "\n";
    }
    return text.empty() ? "  nothing\n" : text;
}

std::string describeStand(const StandSettings &stand) {
    static constexpr const char *modes[] = {"cycle", "pressed", "released"};
    std::string text = "switches:";
    for (int i = 0; i < switchCount; ++i) {
        auto mode = static_cast<size_t>(stand.switches[i]);
        text += format(" S%d %s", i + 1, mode < std::size(modes) ? modes[mode] : "?");
    }
    text += "\njoystick: ";
    if (auto held = stand.joystick.held()) {
        text += format("held at x %.3f V, y %.3f V", held->x, held->y);
    } else {
        text += "on its path";
    }
    text += format(", noise %.3f V\n", stand.joystickNoise);
    for (int channel = 0; channel < analogInputCount; ++channel) {
        if (const auto &volts = stand.analogOverrides[channel]) {
            text += format("ai%d set to %.4f V\n", channel, *volts);
        }
    }
    for (size_t line = 0; line < stand.lineOverrides.size(); ++line) {
        if (const auto &level = stand.lineOverrides[line]) {
            text += format("port%zu/line%zu set to %d\n", line / linesPerPort, line % linesPerPort,
                           *level ? 1 : 0);
        }
    }
    return text;
}

} // namespace

std::string describeBoard(BoardStore &store, double boardTime) {
    BoardState &state = store.state();
    std::string text;
    if (!store.shared()) {
        text = "board: private to this process\n";
    } else {
        reapDeadProcesses(state, store);
        text = "board: shared, state in " + store.location() + "\nprocesses:";
        for (const ProcessId &process : state.processes) {
            if (process.pid != 0) {
                text += format(" %d", process.pid);
            }
        }
        text += "\n";
    }
    text += format("board time: %.3f s\nheld:\n", boardTime) + describeHoldings(state);
    for (int port = 0; port < portCount; ++port) {
        text += format("port%d: driven lines 0x%02X, driven levels 0x%02X\n", port,
                       state.driving[port], state.latch[port] & state.driving[port]);
    }
    text += format("ao0 %.4f V, ao1 %.4f V (on-demand levels)\n", state.outputLevel[0],
                   state.outputLevel[1]);
    return text + describeStand(state.stand);
}

} // namespace simboard
