// The control entry points for tests.  They share the board's lock with the driver calls
// and appear in the journal like them; a bench file that could not be used does not stop
// them, so a test can still set the stand up.
#include <orvex/simboard_control.h>

#include "bench/bench_file.h"
#include "driver_call.h"
#include "names/status_codes.h"
#include "store/board_status.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

using simboard::Board;
using simboard::entryPointBoard;
using simboard::JournalLine;
using simboard::Lock;
using simboard::Outcome;

namespace {

template <class Change, class Describe>
int32_t control(const char *name, Change &&change, Describe &&describe) {
    return simboard::driverCall(
        name,
        [&](Lock &) {
            Board &board = entryPointBoard();
            Outcome outcome = change(board);
            board.notifyChanged();
            return outcome;
        },
        describe, simboard::BenchGate::Exempt);
}

Outcome badArgument(const std::string &why) {
    return simboard::refuse(simboard::status::controlArgument, why);
}

Outcome checkVolts(double volts) {
    return std::isfinite(volts) ? Outcome{} : badArgument("The voltage is not a number.");
}

Outcome checkAnalogInput(int channel) {
    if (channel < 0 || channel >= simboard::analogInputCount) {
        return badArgument("Analog input " + std::to_string(channel) + " (ai0 to ai15).");
    }
    return {};
}

} // namespace

int32_t simboard_pressSwitch(int switchNumber, int pressed) {
    return control(
        "simboard_pressSwitch",
        [&](Board &board) {
            if (switchNumber < 1 || switchNumber > simboard::LabStand::switchCount) {
                return badArgument("Switch S" + std::to_string(switchNumber) + " (S1 to S4).");
            }
            board.stand().setSwitch(switchNumber, pressed != 0 ? simboard::SwitchMode::Pressed
                                                               : simboard::SwitchMode::Released);
            return Outcome{};
        },
        [&](JournalLine &line) {
            line.integer("switchNumber", switchNumber).integer("pressed", pressed);
        });
}

int32_t simboard_holdJoystick(double xVolts, double yVolts) {
    return control(
        "simboard_holdJoystick",
        [&](Board &board) {
            Outcome outcome = checkVolts(xVolts);
            if (!outcome.failed() && !(outcome = checkVolts(yVolts)).failed()) {
                board.stand().holdJoystick({xVolts, yVolts});
            }
            return outcome;
        },
        [&](JournalLine &line) { line.number("xVolts", xVolts).number("yVolts", yVolts); });
}

int32_t simboard_releaseJoystick(void) {
    return control(
        "simboard_releaseJoystick",
        [](Board &board) {
            board.stand().releaseJoystick();
            return Outcome{};
        },
        [](JournalLine &) {});
}

int32_t simboard_setInputLine(int port, int line, int level) {
    return control(
        "simboard_setInputLine",
        [&](Board &board) {
            if (port < 0 || port >= simboard::portCount || line < 0 ||
                line >= simboard::linesPerPort || level < -1 || level > 1) {
                return badArgument("Port " + std::to_string(port) + " line " +
                                   std::to_string(line) + " level " + std::to_string(level) +
                                   " (ports 0 to 2, lines 0 to 7, level -1, 0 or 1).");
            }
            std::optional<bool> value;
            if (level >= 0) {
                value = level == 1;
            }
            board.stand().setLine(port, line, value);
            return Outcome{};
        },
        [&](JournalLine &journal) {
            journal.integer("port", port).integer("line", line).integer("level", level);
        });
}

int32_t simboard_setAnalogInput(int channel, double volts) {
    return control(
        "simboard_setAnalogInput",
        [&](Board &board) {
            Outcome outcome = checkAnalogInput(channel);
            if (!outcome.failed() && !(outcome = checkVolts(volts)).failed()) {
                board.stand().setAnalogInput(channel, volts);
            }
            return outcome;
        },
        [&](JournalLine &line) { line.integer("channel", channel).number("volts", volts); });
}

int32_t simboard_releaseAnalogInput(int channel) {
    return control(
        "simboard_releaseAnalogInput",
        [&](Board &board) {
            Outcome outcome = checkAnalogInput(channel);
            if (!outcome.failed()) {
                board.stand().setAnalogInput(channel, std::nullopt);
            }
            return outcome;
        },
        [&](JournalLine &line) { line.integer("channel", channel); });
}

int32_t simboard_applyBench(const char *json) {
    return control(
        "simboard_applyBench",
        [&](Board &board) {
            if (json == nullptr) {
                return badArgument("The bench text is null.");
            }
            simboard::BenchSettings settings;
            Outcome outcome = simboard::parseBenchText(json, settings);
            return outcome.failed()
                       ? outcome
                       : board.applySettings(settings, simboard::SettingsSource::Fragment);
        },
        [&](JournalLine &line) { line.text("json", json); });
}

int32_t simboard_reset(void) {
    return control(
        "simboard_reset",
        [](Board &board) {
            board.resetStand();
            return Outcome{};
        },
        [](JournalLine &) {});
}

int32_t simboard_advanceTime(double seconds) {
    return control(
        "simboard_advanceTime",
        [&](Board &board) {
            if (!(seconds >= 0.0) || !std::isfinite(seconds)) {
                return badArgument("Time step " + std::to_string(seconds) + " s.");
            }
            board.advanceTime(seconds);
            return Outcome{};
        },
        [&](JournalLine &line) { line.number("seconds", seconds); });
}

// The calls that return no status say that they failed by a value of their own (not a
// number, no text, or no tasks); the status text of the failure's code holds the details.
double simboard_time(void) try {
    Board &board = entryPointBoard();
    Lock lock = board.lock();
    return board.clock().now();
} catch (...) {
    simboard::failedCall("simboard_time");
    return std::nan("");
}

uint32_t simboard_liveTasks(SimboardTask *tasks, uint32_t capacity) try {
    Board &board = entryPointBoard();
    Lock lock = board.lock();
    uint32_t count = 0;
    board.forEachTask([&](const simboard::Task &task) {
        if (tasks != nullptr && count < capacity) {
            SimboardTask &entry = tasks[count];
            entry.handle = task.id;
            entry.running = task.running ? 1 : 0;
            const size_t copied = std::min(task.name.size(), sizeof entry.name - 1);
            std::memcpy(entry.name, task.name.data(), copied);
            entry.name[copied] = '\0';
        }
        ++count;
    });
    return count;
} catch (...) {
    simboard::failedCall("simboard_liveTasks");
    return 0;
}

uint32_t simboard_status(char *text, uint32_t size) try {
    Board &board = entryPointBoard();
    Lock lock = board.lock();
    std::string status = simboard::describeBoard(board.store(), board.clock().now());
    if (text != nullptr && size > 0) {
        size_t copied = std::min<size_t>(status.size(), size - 1);
        std::memcpy(text, status.data(), copied);
        text[copied] = '\0';
    }
    return static_cast<uint32_t>(status.size() + 1);
} catch (...) {
    simboard::failedCall("simboard_status");
    if (text != nullptr && size > 0) {
        text[0] = '\0';
    }
    return 0;
}
