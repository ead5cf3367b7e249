// orvex-sim: looks at and sets the simulated board that the programs on this machine
// share, from outside them.
//   orvex-sim status                        which board, who holds what, how the stand is set
//   orvex-sim stand press S1                hold a switch down (release, cycle likewise)
//   orvex-sim stand joystick 1.0 4.2        hold the joystick's wipers at these voltages
//   orvex-sim stand joystick free           let it move along its path again
//   orvex-sim stand line port1/line4 0      a level on the stand's line (1, 0 or free)
//   orvex-sim stand input ai5 1.25          a voltage on an analog input (or free)
//   orvex-sim stand bench '{"seed": 3}'     a fragment in the bench file's format
//   orvex-sim stand reset                   the stand's defaults, every fault disarmed
// Exit status: 0 done, 1 the board refused or could not be reached, 2 a usage error.
#include "daqmx/daqmx.h"
#include <orvex/simboard_control.h>

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using nlohmann::json;

constexpr int usageError = 2;

std::string fullName(const std::string &name) {
    return name.rfind("PXI", 0) == 0 || name.rfind("/PXI", 0) == 0 ? name : "PXI1Slot2/" + name;
}

double volts(const std::string &text, const std::string &what) {
    size_t used = 0;
    try {
        double value = std::stod(text, &used);
        if (used == text.size()) {
            return value;
        }
    } catch (const std::exception &) {
    }
    throw CLI::ValidationError(what, "\"" + text + "\" is not a number of volts");
}

// "free" gives the line or input back to the stand.
json lineLevel(const std::string &value) {
    if (value == "free") {
        return json();
    }
    if (value != "0" && value != "1") {
        throw CLI::ValidationError("line", "the level is 0, 1 or free, not \"" + value + "\"");
    }
    return value == "1" ? 1 : 0;
}

json inputVolts(const std::string &value) {
    return value == "free" ? json() : json(volts(value, "input"));
}

json joystickHold(const std::vector<std::string> &position) {
    if (position.size() == 1 && position[0] == "free") {
        return json();
    }
    if (position.size() != 2) {
        throw CLI::ValidationError("joystick", "give the wipers' X and Y volts, or free");
    }
    return json{{"x", volts(position[0], "joystick")}, {"y", volts(position[1], "joystick")}};
}

std::string boardStatus() {
    // The board keeps changing: ask again until the text fits.
    std::vector<char> text(1);
    for (uint32_t needed = 0; (needed = simboard_status(text.data(), text.size())) > text.size();) {
        text.resize(needed + 64);
    }
    return text.data();
}

// This tool is for the shared board: a board of its own would take the change and forget it.
bool sharedBoardReached(const std::string &status) {
    if (status.rfind("board: shared", 0) == 0) {
        return true;
    }
    std::fprintf(stderr, "orvex-sim: the shared board cannot be reached (see above); nothing "
                         "was done\n");
    return false;
}

int report(int32_t status) {
    if (status >= 0) {
        return 0;
    }
    // A driver that cannot say how long its text is still gets a terminated empty one.
    std::vector<char> text(
        static_cast<size_t>(std::max<int32_t>(DAQmxGetErrorString(status, nullptr, 0), 1)));
    DAQmxGetErrorString(status, text.data(), static_cast<uInt32>(text.size()));
    std::fprintf(stderr, "orvex-sim: error %d: %s\n", status, text.data());
    return 1;
}

} // namespace

int main(int argc, char **argv) {
    CLI::App app{"Looks at and sets the simulated board the programs on this machine share."};
    app.require_subcommand(1);
    std::string stateFile;
    app.add_option("--state", stateFile,
                   "The board's state file (default: ORVEX_SIM_STATE, "
                   "or orvex-simboard.state in XDG_RUNTIME_DIR)");
    CLI::App *status = app.add_subcommand("status", "Which board, who holds what, the stand");
    CLI::App *stand = app.add_subcommand("stand", "Set the lab stand");
    stand->require_subcommand(1);

    json fragment;
    bool reset = false;
    std::vector<std::string> switches;
    for (const char *mode : {"press", "release", "cycle"}) {
        static const char *const modes[] = {"pressed", "released", "cycle"};
        std::string applied = modes[mode[0] == 'p' ? 0 : mode[0] == 'r' ? 1 : 2];
        CLI::App *command = stand->add_subcommand(mode, "Switches S1 to S4: " + applied);
        command->add_option("switches", switches, "S1 to S4")->required();
        command->callback([&, applied] {
            for (const std::string &name : switches) {
                fragment["switches"][name] = applied;
            }
        });
    }
    std::vector<std::string> stick;
    stand->add_subcommand("joystick", "Hold the wipers at X Y volts, or 'free'")
        ->callback([&] { fragment["joystick"]["hold"] = joystickHold(stick); })
        ->add_option("position", stick, "X Y, or free")
        ->required()
        ->expected(1, 2);
    std::string name;
    std::string value;
    for (const char *kind : {"line", "input"}) {
        const bool line = std::string(kind) == "line";
        CLI::App *command =
            stand->add_subcommand(kind, line ? "A level on a line of the stand: 0, 1 or free"
                                             : "A voltage on an analog input, or free");
        command->add_option("name", name, "e.g. port1/line4, ai5")->required();
        command->add_option("value", value)->required();
        command->callback([&, line] {
            if (line) {
                fragment["inputLines"][fullName(name)] = lineLevel(value);
            } else {
                fragment["analogInputs"][fullName(name)] = inputVolts(value);
            }
        });
    }
    std::string bench;
    stand->add_subcommand("bench", "A fragment in the bench file's format")
        ->add_option("json", bench)
        ->required();
    stand->add_subcommand("reset", "The stand's defaults, every fault disarmed")->callback([&] {
        reset = true;
    });

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError &error) {
        // Help asked for is no error; every other mistake in the command line is one.
        return app.exit(error) == 0 ? 0 : usageError;
    }
    // This tool is for the shared board: a bench file would give it one of its own.
    unsetenv("ORVEX_SIM_BENCH");
    if (!stateFile.empty()) {
        setenv("ORVEX_SIM_STATE", stateFile.c_str(), 1);
    }
    const std::string board = boardStatus();
    if (!sharedBoardReached(board)) {
        return 1;
    }
    // A board another process keeps too long, or one with no room for this process, says
    // so in its status.
    const size_t refused = board.find("\nnot available: ");
    if (status->parsed()) {
        std::fputs(board.c_str(), stdout);
        return refused == std::string::npos ? 0 : 1;
    }
    if (refused != std::string::npos) {
        std::fprintf(stderr, "orvex-sim: %s", board.substr(refused + 1).c_str());
        return 1;
    }
    if (reset) {
        return report(simboard_reset());
    }
    return report(simboard_applyBench(bench.empty() ? fragment.dump().c_str() : bench.c_str()));
}
