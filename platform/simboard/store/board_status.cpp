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
        return format("%s%s",
                      holding.analogOutputs == 3   ? "ao0:1"
                      : holding.analogOutputs == 2 ? "ao1"
                                                   : "ao0",
                      holding.clocked ? " and timing engine" : "");
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

// Each setting of the stand that differs from its default, with who set it.
class StandAccount {
  public:
    StandAccount(const StandLayers &stand, const ProcessId &benchProcess)
        : stand_(stand), benchProcess_(benchProcess) {}

    std::string text() {
        const StandSettings &now = stand_.current;
        const StandSettings defaults;
        static constexpr const char *modes[] = {"cycles", "pressed", "released"};
        for (int i = 0; i < switchCount; ++i) {
            auto mode = static_cast<size_t>(now.switches[i]);
            if (now.switches[i] != defaults.switches[i]) {
                add(standSetting::firstSwitch + i,
                    format("S%d %s", i + 1, mode < std::size(modes) ? modes[mode] : "?"));
            }
        }
        if (auto held = now.joystick.held()) {
            add(standSetting::joystickHold,
                format("joystick held at x %.3f V, y %.3f V", held->x, held->y));
        }
        if (now.joystick.pathPointCount() != 0 ||
            now.joystick.period() != defaults.joystick.period()) {
            add(standSetting::joystickPath,
                format("joystick path of %zu points, once in %.3f s", now.joystick.pathPointCount(),
                       now.joystick.period()));
        }
        if (now.joystickNoise != defaults.joystickNoise) {
            add(standSetting::joystickNoise, format("joystick noise %.3f V", now.joystickNoise));
        }
        if (stand_.setBy(standSetting::seed) != SetBy::Default) {
            add(standSetting::seed,
                format("noise seed %llu", static_cast<unsigned long long>(now.seed)));
        }
        for (size_t line = 0; line < now.lineOverrides.size(); ++line) {
            if (const auto &level = now.lineOverrides[line]) {
                add(standSetting::firstLine + line,
                    format("port%zu/line%zu set to %d", line / linesPerPort, line % linesPerPort,
                           *level ? 1 : 0));
            }
        }
        for (int channel = 0; channel < analogInputCount; ++channel) {
            if (const auto &volts = now.analogOverrides[channel]) {
                add(standSetting::firstAnalogInput + channel,
                    format("ai%d set to %.4f V", channel, *volts));
            }
        }
        return text_.empty() ? "stand: at its defaults\n"
                             : "stand, where it differs from its defaults:\n" + text_;
    }

  private:
    void add(size_t setting, const std::string &what) {
        text_ += "  " + what;
        switch (stand_.setBy(setting)) {
        case SetBy::Outside:
            text_ += " (set from outside: orvex-sim or a control call)";
            break;
        case SetBy::BenchFile:
            text_ += benchProcess_.pid != 0
                         ? format(" (by the bench file of process %d)", benchProcess_.pid)
                         : " (by the bench file)";
            break;
        case SetBy::Default:
            break;
        }
        text_ += "\n";
    }

    const StandLayers &stand_;
    const ProcessId &benchProcess_;
    std::string text_;
};

} // namespace

std::string describeBoard(BoardStore &store, double boardTime) {
    std::string text = store.shared() ? "board: shared, state in " + store.location() + "\n"
                                      : "board: private to this process\n";
    StoreAccess access(store);
    if (access.refusal().failed()) {
        return text + "not available: " + access.refusal().detail + "\n";
    }
    BoardState &state = store.state();
    if (store.shared()) {
        reapDeadProcesses(state, store);
        text += "processes:";
        for (const ProcessId &process : state.processes) {
            if (process.pid != 0) {
                text += format(process == store.self() ? " %d (this one)" : " %d", process.pid);
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
    return text + StandAccount(state.stand, state.benchProcess).text();
}

} // namespace simboard
