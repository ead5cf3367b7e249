#include "command_line.h"

#include <cstring>
#include <string_view>

namespace zelbrin {

namespace {

constexpr const char *helpText =
    "Usage: zelbrin [--help] [--version] [--setup FILE] [--record FILE]\n"
    "               [Qt options such as -platform NAME]\n"
    "\n"
    "The lab window for the NI 6251 board in PXI slot 2: the lines of digital ports 0\n"
    "and 1, analog inputs 2 and 3 as voltages and as a calibrated joystick position.\n"
    "The panel file Zelbrin.uir lies beside the program.\n"
    "\n"
    "  --help        print this text and end\n"
    "  --version     print the version and end\n"
    "  --setup FILE  start with the calibration, intervals and axes of a saved setup file\n"
    "  --record FILE record every sampling tick to FILE from the start, without asking,\n"
    "                until the window closes (also on SIGTERM, SIGINT or SIGHUP); HDF5\n"
    "                for a name ending in .h5 or .hdf5, otherwise CSV; an existing FILE\n"
    "                is replaced\n"
    "\n"
    "Environment:\n"
    "  ORVEX_DRIVER  the board driver library to load instead of the vendor's\n"
    "  DISPLAY       the X display the window opens on\n"
    "\n"
    "Exit status: 0 after the window was closed; 1 when it could not open; 2 for an\n"
    "option without its FILE.\n";

constexpr const char setupOption[] = "--setup";
constexpr const char recordOption[] = "--record";
constexpr std::string_view recordOptionJoined = "--record=";

// The value of "OPTION VALUE" or "OPTION=VALUE" among the arguments, or null.
const char *optionValue(int argc, char *argv[], const char *option) {
    const std::size_t optionLength = std::strlen(option);
    for (int i = 1; i < argc && argv[i]; ++i) {
        if (std::strcmp(argv[i], option) == 0) {
            return i + 1 < argc ? argv[i + 1] : nullptr;
        }
        if (std::strncmp(argv[i], option, optionLength) == 0 && argv[i][optionLength] == '=') {
            return argv[i] + optionLength + 1;
        }
    }
    return nullptr;
}

} // namespace

CommandLine readCommandLine(int argc, char *argv[]) {
    CommandLine command;
    for (int i = 1; i < argc && argv[i]; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--help" || argument == "-h") {
            command.answer = helpText;
        } else if (argument == "--version") {
            command.answer = std::string("zelbrin ") + ZELBRIN_VERSION + "\n";
        } else if (argument == recordOption || argument.starts_with(recordOptionJoined)) {
            const char *file = optionValue(argc, argv, recordOption);
            if (!file || !*file) {
                command.problem = "Zelbrin: --record needs the FILE to record to\n";
            }
        }
    }
    return command;
}

const char *setupFileArgument(int argc, char *argv[]) {
    return optionValue(argc, argv, setupOption);
}

const char *recordFileArgument(int argc, char *argv[]) {
    return optionValue(argc, argv, recordOption);
}

} // namespace zelbrin
