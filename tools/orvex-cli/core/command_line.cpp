#include "command_line.h"

#include "acquisition/acquisition.h"
#include "acquisition/in_step_output.h"
#include "acquisition/scan_channels.h"
#include "acquisition/waveform.h"
#include "commands/board_commands.h"
#include "commands/script.h"
#include "commands/script_line.h"
#include "record/recording_commands.h"
#include "tool_errors.h"
#include "values.h"

#include <orvex.h>

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <iostream>
#include <optional>

namespace orvex_cli {
namespace {

constexpr const char *description =
    "Poke, acquire, generate and script the NI 6251 board through the orvex library.\n"
    "Data goes to standard output, messages to standard error.";

constexpr const char *footer =
    "Exit status: 0 success, 1 a board or file failure (a library failure prints its\n"
    "'Error = <code>, <text>' line), 2 a usage error.  Ctrl-C or SIGTERM ends an\n"
    "acquisition or generation cleanly: the file is flushed and whole, every task released.\n"
    "\n"
    "Values are decimal, 0x hex or 0b binary; ports print as hex and binary.  Channels are\n"
    "written 3 or ai3 / ao1.  'ai acquire' also takes a channel list over ai0 to ai15\n"
    "(ai0:3,ai8), read as one scan on one clock, each channel with its own --range and\n"
    "--terminal: '--range 10 --range ai3=0.1 --terminal ai3=diff'.\n"
    "\n"
    "HDF5 (where the build has it): 'ai acquire ... --format h5 -o FILE.h5' writes the\n"
    "samples with the channels, start time, board and events (docs/recording-format.md).\n"
    "'record CONFIG' records until SIGTERM to files rotated by board time or size, from\n"
    "'key = value' lines (channels, rate, range, terminal, sample-type, directory,\n"
    "pattern, rotate-seconds, rotate-bytes, notes, block, duration); reads of 'block'\n"
    "seconds grow while the board's samples are there already, each written at once and\n"
    "flushed every half second of board time.  SIGHUP starts a new file; a driver error\n"
    "restarts the scan after 0.1 s doubling to 10 s, the missed time a 'gap' event that\n"
    "dates the samples after it; a file that fails ends it with status 1.  Its log lines on\n"
    "standard error carry the journal's priority: '<6>orvex-record: ...'.  Read a file\n"
    "with h5py (f['samples'], f.attrs), 'h5dump -A FILE.h5', or orvex.recording in\n"
    "Python.  The unit orvex-record@NAME.service records /etc/orvex/NAME.conf.\n"
    "\n"
    "Environment: ORVEX_DRIVER names the driver library (--driver sets it); on the\n"
    "simulated board ORVEX_SIM_BENCH and ORVEX_SIM_JOURNAL name its bench file and journal\n"
    "(--bench, --journal).\n"
    "\n"
    "Examples:\n"
    "  orvex port write 0 0xA5\n"
    "  orvex line get 1.4\n"
    "  orvex ai acquire 0 --rate 10000 --duration 2 --output ai0.csv\n"
    "  orvex ai acquire ai0:3,ai8 --rate 10000 --samples 1000 --range ai3=0.1 -o scan.csv\n"
    "  orvex ai acquire ai0:3 --rate 1000 --duration 60 --format h5 -o scan.h5\n"
    "  orvex record /etc/orvex/stand1.conf\n"
    "  orvex ao generate 0 --rate 10000 --sine 50,2 --duration 5\n"
    "  printf 'ao generate 0 --rate 10000 --sine 50,2\\nai acquire 0 --rate 10000 "
    "--samples 2000\\n' | orvex run -\n"
    "  printf 'ao generate 0 --sine 100,2 --in-step --share-clock\\nai acquire ai0,ai1 "
    "--rate 10000 --samples 2000\\n' | orvex run -";

// The parser's messages quote the user's words after a few of their own.
constexpr std::size_t longestParserMessage = 2 * longestEcho;

// The text of every argument; each command converts and checks its own when it runs, so
// that a bad value gets the tool's own message.
struct Arguments {
    std::string port, value, portLine, channel, volts;
    std::string count = "1", interval = "1";
    std::string rate, samples, duration, trigger, level = "0", slope, timeout = "10";
    std::vector<std::string> ranges, terminals;
    std::string format = "csv", output = "-", header, sampleType = "f32";
    std::string config;
    std::string sine, square, waveFile;
    std::string script = "-";
    bool keepGoing = false;
    bool inStep = false, shareClock = false;
};

class Tool {
  public:
    explicit Tool(Session &session) : session(session) { define(); }

    template <typename Parse> int execute(Parse parse) {
        try {
            parse(app);
        } catch (const CLI::CallForHelp &) {
            // Help is asked for before the words are checked: "orvex frobnicate --help".
            if (const auto refusal = leftOverWord(true)) {
                return usageFailure(*refusal);
            }
            CLI::App *command = deepestCommand();
            std::cout << command->help(parentPath(command));
            return exitSuccess;
        } catch (const CLI::CallForAllHelp &) {
            if (const auto refusal = leftOverWord(true)) {
                return usageFailure(*refusal);
            }
            std::cout << app.help();
            printEveryCommandHelp(app);
            return exitSuccess;
        } catch (const CLI::CallForVersion &) {
            std::cout << "orvex " << ORVEX_TOOL_VERSION << '\n';
            return exitSuccess;
        } catch (const CLI::ParseError &error) {
            if (const auto refusal = leftOverWord(false)) {
                return usageFailure(*refusal);
            }
            return usageFailure(shortened(error.what(), longestParserMessage));
        } catch (const UsageError &error) {
            return usageFailure(error.what());
        }
        session.apply(common);
        try {
            action();
            return actionStatus;
        } catch (const UsageError &error) {
            return usageFailure(error.what());
        } catch (const CommandFailed &error) {
            if (*error.what() != '\0') {
                std::fprintf(stderr, "orvex: %s\n", error.what());
            }
            return exitFailure;
        }
    }

  private:
    CLI::App app{description, "orvex"};
    Session &session;
    CommonOptions common;
    Arguments args;
    std::function<void()> action;
    int actionStatus = exitSuccess; // a script's own status; its lines report themselves

    // What is wrong with the first word that no command or option took: an unknown
    // command where one was wanted (CLI11 only says that one is missing), or, when
    // `anyWord`, that it is not expected at all.
    std::optional<std::string> leftOverWord(bool anyWord) {
        CLI::App *parsed = deepestCommand();
        std::vector<std::string> left = parsed->remaining();
        if (left.empty()) {
            left = app.remaining();
        }
        if (left.empty()) {
            return std::nullopt;
        }
        const bool wantsCommand = !parsed->get_subcommands([](CLI::App *) { return true; }).empty();
        if (wantsCommand && !left.front().starts_with("-")) {
            return "unknown command " + quotedEcho(left.front());
        }
        if (anyWord) {
            return "argument " + quotedEcho(left.front()) + " is not expected";
        }
        return std::nullopt;
    }

    CLI::App *deepestCommand() {
        CLI::App *command = &app;
        while (!command->get_subcommands().empty()) {
            command = command->get_subcommands().front();
        }
        return command;
    }

    // "orvex ai" for the command "acquire" of "ai".
    static std::string parentPath(const CLI::App *command) {
        std::string path;
        for (const CLI::App *parent = command->get_parent(); parent != nullptr;
             parent = parent->get_parent()) {
            path = parent->get_name() + (path.empty() ? "" : " ") + path;
        }
        return path;
    }

    static void printEveryCommandHelp(CLI::App &parent) {
        for (CLI::App *command : parent.get_subcommands([](CLI::App *) { return true; })) {
            if (command->get_subcommands([](CLI::App *) { return true; }).empty()) {
                // A heading and a paragraph of its own each, also in the manual page.
                const std::string path = parentPath(command) + " " + command->get_name();
                std::string text = command->help(parentPath(command));
                text.insert(text.find('\n') + 1, "\n");
                std::cout << "\n" << path << ":\n" << text;
            } else {
                printEveryCommandHelp(*command);
            }
        }
    }

    int usageFailure(const std::string &message) {
        CLI::App *command = deepestCommand();
        const std::string path =
            command == &app ? "orvex" : parentPath(command) + " " + command->get_name();
        std::fprintf(stderr, "orvex: %s\nTry '%s --help'.\n", message.c_str(), path.c_str());
        return exitUsage;
    }

    // A command that runs `work` when it is the one parsed.
    CLI::App *command(CLI::App &parent, const char *name, const char *help,
                      std::function<void()> work) {
        CLI::App *added = parent.add_subcommand(name, help);
        added->callback([this, work] { action = work; });
        return added;
    }

    // The channel and the sample clock rate of a clocked command.
    void clockedChannel(CLI::App &clocked, const char *channelHelp, const char *rateHelp) {
        clocked.add_option("CH", args.channel, channelHelp)->required();
        clocked.add_option("--rate", args.rate, rateHelp)->type_name("HZ");
    }

    void define();
    void defineDigital();
    void defineAnalogInput();
    void defineAnalogOutput();
    void defineScanOptions(CLI::App &acquire);
    bool readsOneChannelAlone() const;
    void setUpScan(AcquisitionRequest &request);
    void acquireNow();
    void generateNow();
    void armInStep(int channel, std::function<std::vector<double>(double)> block,
                   const std::string &wave);
};

void Tool::define() {
    app.require_subcommand(1);
    app.fallthrough();
    app.get_formatter()->label("TEXT", ""); // every argument is read as text at first
    app.set_help_all_flag("--help-all", "Print the help of every command and exit");
    app.set_version_flag("--version", std::string("orvex ") + ORVEX_TOOL_VERSION,
                         "Print the version and exit");
    app.add_option("--driver", common.driver, "Driver library to load (sets ORVEX_DRIVER)")
        ->type_name("PATH");
    app.add_option("--slot", common.slot, "PXI slot of the board (default 2)")->type_name("N");
    app.add_option("--bench", common.bench, "Simulated board's bench file (sets ORVEX_SIM_BENCH)")
        ->type_name("FILE");
    app.add_option("--journal", common.journal,
                   "Simulated board's journal of driver calls (sets ORVEX_SIM_JOURNAL)")
        ->type_name("FILE");
    app.add_flag("-q,--quiet", common.quiet, "No progress line or notes on standard error");

    command(app, "info",
            "Print the version, the driver library (or why it cannot load) and the slot",
            [this] { showInfo(session); });
    defineDigital();
    defineAnalogInput();
    defineAnalogOutput();

    CLI::App *run =
        command(app, "run",
                "Run commands from FILE (or standard input, '-'), one a line, in one "
                "process; words may be quoted with ' or \", '#' starts a comment",
                [this] { actionStatus = runScript(args.script, args.keepGoing, session); });
    run->add_option("FILE", args.script, "Script file (a regular one), or - for standard input")
        ->capture_default_str();
    run->add_flag("--keep-going", args.keepGoing, "Run the remaining lines after a failing one");

    CLI::App *record = command(app, "record",
                               "Record a scan to rotated HDF5 files until SIGTERM or Ctrl-C, as "
                               "CONFIG says; SIGHUP starts a new file; driver errors are "
                               "retried and the missed time kept as a gap event",
                               [this] { runRecorder(args.config, session); });
    record
        ->add_option("CONFIG", args.config,
                     "Configuration file: 'key = value' lines (channels, rate, range, terminal, "
                     "sample-type, directory, pattern, rotate-seconds, rotate-bytes, notes, "
                     "block, duration); '#' starts a comment; see the example orvex-record.conf")
        ->required();
    // Set last, so that the commands' own help does not repeat it.
    app.footer(footer);
}

void Tool::defineDigital() {
    CLI::App *port =
        app.add_subcommand("port", "Read, write or set the direction of a port 0 to 2");
    port->require_subcommand(1);
    CLI::App *read = command(*port, "read",
                             "Print the port's lines in hex and binary (makes them inputs "
                             "unless a mask was set in this run)",
                             [this] { portRead(session, parsePort(args.port)); });
    CLI::App *write = command(
        *port, "write",
        "Drive the port's output lines (makes all lines outputs unless a "
        "mask was set in this run)",
        [this] { portWrite(session, parsePort(args.port), parseByte(args.value, "value")); });
    CLI::App *mask =
        command(*port, "mask", "Set the direction: a set bit makes its line an output",
                [this] { portMask(session, parsePort(args.port), parseByte(args.value, "mask")); });
    for (CLI::App *sub : {read, write, mask}) {
        sub->add_option("PORT", args.port, "Port 0 to 2")->required();
    }
    write->add_option("VALUE", args.value, "Value 0 to 255")->required();
    mask->add_option("MASK", args.value, "Mask 0 to 255")->required();

    CLI::App *line = app.add_subcommand("line", "Read or drive one line, PORT.LINE (e.g. 1.4)");
    line->require_subcommand(1);
    CLI::App *get = command(*line, "get", "Print the line's level, 0 or 1", [this] {
        const PortLine at = parsePortLine(args.portLine);
        lineGet(session, at.port, at.line);
    });
    CLI::App *set = command(*line, "set", "Make the line an output and drive it", [this] {
        const PortLine at = parsePortLine(args.portLine);
        if (args.value != "0" && args.value != "1") {
            throw UsageError("level " + quotedEcho(args.value) + " is not 0 or 1");
        }
        lineSet(session, at.port, at.line, args.value == "1");
    });
    for (CLI::App *sub : {get, set}) {
        sub->add_option("PORT.LINE", args.portLine, "Port 0 to 2 and line 0 to 7")->required();
    }
    set->add_option("LEVEL", args.value, "0 or 1")->required();
}

void Tool::defineAnalogInput() {
    CLI::App *ai = app.add_subcommand(
        "ai", "Analog inputs ai0 to ai7 in volts; ai0 to ai15 in scans ('ai acquire' of a list)");
    ai->require_subcommand(1);
    CLI::App *read = command(*ai, "read", "Print single-point readings, one a line", [this] {
        analogRead(parseChannel(args.channel, "ai", ANALOG_SIZEi), parseCount(args.count, "count"),
                   parseNonNegative(args.interval, "interval"));
    });
    read->add_option("CH", args.channel, "Input channel")->required();
    read->add_option("--count", args.count, "Number of readings")
        ->type_name("N")
        ->capture_default_str();
    read->add_option("--interval", args.interval, "Seconds between readings")
        ->type_name("S")
        ->capture_default_str();

    CLI::App *acquire = command(*ai, "acquire",
                                "Record a clocked acquisition of one input, or a scan of a "
                                "channel list, to a file or standard output, streamed in blocks",
                                [this] { acquireNow(); });
    clockedChannel(*acquire,
                   "Input channel 0 to 7, or a channel list over ai0 to ai15 read as one scan "
                   "(e.g. ai0:3,ai8)",
                   "Samples per second per channel (required): at most 1.25 MS/s for one "
                   "channel, 1 MS/s in all for several");
    CLI::Option *samples =
        acquire->add_option("--samples", args.samples, "Number of samples (per channel)")
            ->type_name("N");
    acquire->add_option("--duration", args.duration, "Seconds of board time")
        ->type_name("S")
        ->excludes(samples);
    acquire
        ->add_option("--trigger", args.trigger,
                     "Start when this input (e.g. ai0) rises through --level; in a scan also "
                     "ai8 to ai15, or a digital edge on a line PFI0 to PFI15")
        ->type_name("SOURCE");
    acquire->add_option("--level", args.level, "Trigger level in volts")
        ->type_name("V")
        ->capture_default_str();
    acquire
        ->add_option("--timeout", args.timeout,
                     "Longest wait for the trigger, and for a block beyond its length")
        ->type_name("S")
        ->capture_default_str();
    defineScanOptions(*acquire);
    acquire
        ->add_option("--format", args.format,
                     "csv or tsv (a '#' header, then 'sample,volts' lines; a scan has a column "
                     "per channel), raw little-endian f64 or f32 (a scan's channels "
                     "interleaved), or h5: an HDF5 file with the channels, start time and "
                     "events (docs/recording-format.md), always read as a scan")
        ->check(CLI::IsMember({"csv", "tsv", "f64", "f32", "h5"}))
        ->capture_default_str();
    acquire
        ->add_option("--sample-type", args.sampleType,
                     "With h5: volts as f32 (float32) or f64 (float64)")
        ->check(CLI::IsMember({"f32", "f64"}))
        ->capture_default_str();
    acquire->add_option("-o,--output", args.output, "Output file, - for standard output")
        ->type_name("FILE")
        ->capture_default_str();
    acquire
        ->add_option("--header", args.header,
                     "With f64 or f32: also write a description here first (channels, "
                     "ranges, layout, rate, start), and the sample count at the end")
        ->type_name("FILE");
}

void Tool::defineScanOptions(CLI::App &acquire) {
    acquire
        .add_option("--range", args.ranges,
                    "A scan's range, volts either side of 0 (above 0, at most 10; widened to "
                    "the board's 10, 5, 2, 1, 0.5, 0.2 or 0.1): V for every channel, CH=V for "
                    "one; repeat it (default 10)")
        ->type_name("[CH=]V")
        ->allow_extra_args(false);
    acquire
        .add_option("--terminal", args.terminals,
                    "A scan's terminal configuration, rse, nrse or diff (input n against n+8, "
                    "n 0 to 7): for every channel, or CH=... for one; repeat it (default rse)")
        ->type_name("[CH=]T")
        ->allow_extra_args(false);
    acquire
        .add_option("--slope", args.slope,
                    "The trigger's slope or edge: rising (default) or falling")
        ->type_name("SLOPE");
}

// The tool's single-channel read, as it always was, unless the words ask for a scan.
bool Tool::readsOneChannelAlone() const {
    // An HDF5 file is described from the scan the library runs.
    if (!args.ranges.empty() || !args.terminals.empty() || !args.slope.empty() ||
        args.trigger.starts_with("PFI") || !session.armedInStep().empty() || args.format == "h5") {
        return false;
    }
    try {
        parseChannel(args.channel, "ai", ANALOG_SIZEi);
        return true;
    } catch (const UsageError &) {
        return false;
    }
}

void Tool::setUpScan(AcquisitionRequest &request) {
    request.scan = parseScanChannels(args.channel, args.ranges, args.terminals);
    checkScanRate(request.rate, request.scan.size());
    if (args.slope == "falling") {
        request.slope = ORVEX_FALLING;
    } else if (!args.slope.empty() && args.slope != "rising") {
        throw UsageError("slope " + quotedEcho(args.slope) + " is not rising or falling");
    }
    if (args.trigger.starts_with("PFI")) {
        request.trigger = "PFI" + std::to_string(parseChannel(args.trigger, "PFI", scanInputs));
    } else if (!args.trigger.empty()) {
        request.trigger = inputName(parseChannel(args.trigger, "ai", scanInputs));
    }
    if (!session.armedInStep().empty()) {
        request.inStep = inStepOutput(session.takeInStep(), request.rate);
    }
}

void Tool::acquireNow() {
    AcquisitionRequest request;
    if (args.rate.empty()) {
        throw UsageError("give --rate");
    }
    request.rate = parsePositive(args.rate, "rate");
    request.trigger = args.trigger;
    if (readsOneChannelAlone()) {
        request.channel = parseChannel(args.channel, "ai", ANALOG_SIZEi);
    } else {
        setUpScan(request);
    }
    if (args.samples.empty() == args.duration.empty()) {
        throw UsageError("give --samples or --duration");
    }
    if (!args.samples.empty()) {
        request.samples = parseCount(args.samples, "samples");
    } else {
        const double samples = std::round(parsePositive(args.duration, "duration") * request.rate);
        if (samples < 1.0 || samples > 1e18) {
            throw UsageError("--duration at this rate gives no sample or too many");
        }
        request.samples = static_cast<std::uint64_t>(samples);
    }
    request.level = parseNumber(args.level, "level");
    request.timeout = parsePositive(args.timeout, "timeout");
    request.format = parseSampleFormat(args.format);
    request.output = args.output;
    request.headerFile = args.header;
    if (!request.headerFile.empty() &&
        (isText(request.format) || request.format == SampleFormat::H5)) {
        throw UsageError(
            "--header goes with --format f64 or f32; text and HDF5 files carry their own");
    }
    request.float64 = args.sampleType == "f64";
    const AcquisitionResult result = acquire(request, session);
    if (result.stopped && !session.quiet()) {
        std::fprintf(stderr, "orvex: stopped after %llu %s\n",
                     static_cast<unsigned long long>(result.samples),
                     request.scan.empty() ? "samples" : "samples per channel");
    }
}

void Tool::defineAnalogOutput() {
    CLI::App *ao = app.add_subcommand("ao", "Analog outputs ao0 and ao1, in volts");
    ao->require_subcommand(1);
    CLI::App *write = command(*ao, "write", "Set the output to a voltage", [this] {
        analogWrite(parseChannel(args.channel, "ao", ANALOG_SIZEo),
                    parseNumber(args.volts, "voltage"));
    });
    write->add_option("CH", args.channel, "Output channel")->required();
    write->add_option("VOLTS", args.volts, "-10 to +10")->required();

    CLI::App *generate = command(*ao, "generate",
                                 "Regenerate a wave on the output until Ctrl-C or --duration "
                                 "(in a script: until 'ao stop' or the script's end)",
                                 [this] { generateNow(); });
    clockedChannel(*generate, "Output channel",
                   "Samples per second (required, but for --in-step --share-clock)");
    generate->add_option("--sine", args.sine, "Sine of FREQ hertz, AMPL volts peak")
        ->type_name("FREQ,AMPL[,OFFSET]");
    generate->add_option("--square", args.square, "Square wave, +-AMPL around OFFSET")
        ->type_name("FREQ,AMPL[,OFFSET]");
    generate->add_option("--file", args.waveFile, "One voltage a line, regenerated as a block")
        ->type_name("FILE");
    generate->add_option("--duration", args.duration, "Seconds of wall time, then stop")
        ->type_name("S");
    generate->add_flag("--in-step", args.inStep,
                       "In a script: arm the generation to start with the next 'ai acquire', "
                       "which then runs as a scan, and to stop with it");
    generate->add_flag("--share-clock", args.shareClock,
                       "With --in-step: one output sample per scan, on the scan's sample clock "
                       "(leave out --rate)");

    CLI::App *stop = command(*ao, "stop", "Stop the generation on the output", [this] {
        stopGeneration(session, parseChannel(args.channel, "ao", ANALOG_SIZEo));
    });
    stop->add_option("CH", args.channel, "Output channel")->required();
}

void Tool::generateNow() {
    const int channel = parseChannel(args.channel, "ao", ANALOG_SIZEo);
    const int shapes = !args.sine.empty() + !args.square.empty() + !args.waveFile.empty();
    if (shapes != 1) {
        throw UsageError("give one of --sine, --square or --file");
    }
    // The block at a clock's rate: for a generation on a scan's clock, the scan's.
    std::function<std::vector<double>(double)> makeBlock;
    std::string wave;
    if (!args.waveFile.empty()) {
        makeBlock = [block = readWaveFile(args.waveFile)](double) { return block; };
        wave = "file " + args.waveFile;
    } else {
        const bool sine = !args.sine.empty();
        const WaveShape shape = parseWaveShape(sine ? WaveKind::Sine : WaveKind::Square,
                                               sine ? args.sine : args.square);
        makeBlock = [shape](double rate) { return periodicBlock(shape, rate); };
        wave = (sine ? "sine " : "square ") + (sine ? args.sine : args.square);
    }
    if (args.inStep) {
        armInStep(channel, makeBlock, wave);
        return;
    }
    if (args.shareClock) {
        throw UsageError("--share-clock goes with --in-step");
    }
    if (args.rate.empty()) {
        throw UsageError("give --rate");
    }
    const double rate = parsePositive(args.rate, "rate");
    const std::vector<double> block = makeBlock(rate);
    checkOutputRange(block);
    std::optional<double> duration;
    if (!args.duration.empty()) {
        duration = parsePositive(args.duration, "duration");
    }
    generate(session, channel, rate, block, duration);
}

void Tool::armInStep(int channel, std::function<std::vector<double>(double)> block,
                     const std::string &wave) {
    if (!session.inScript()) {
        throw UsageError("--in-step arms a generation for the next 'ai acquire' of a run script; "
                         "use it in one");
    }
    if (!args.duration.empty()) {
        throw UsageError("an in-step generation runs as long as its scan; leave out --duration");
    }
    if (args.shareClock != args.rate.empty()) {
        throw UsageError(args.shareClock ? "--share-clock runs on the scan's rate; leave out --rate"
                                         : "give --rate, or --share-clock for the scan's clock");
    }
    for (const InStepGeneration &armed : session.armedInStep()) {
        if (armed.channel == channel) {
            throw UsageError("ao" + std::to_string(channel) + " is armed in step already");
        }
    }
    InStepGeneration generation;
    generation.channel = channel;
    generation.shareClock = args.shareClock;
    if (!args.shareClock) {
        // On its own clock the block can be made, and refused, now.
        generation.rate = parsePositive(args.rate, "rate");
        checkOutputRange(block(generation.rate));
    }
    generation.block = std::move(block);
    generation.wave = wave;
    session.armInStep(std::move(generation));
}

} // namespace

int runCommandLine(const std::vector<std::string> &arguments, Session &session) {
    Tool tool(session);
    // CLI11 takes them last first, without the program's name.
    std::vector<std::string> reversed(arguments.rbegin(), arguments.rend());
    if (!reversed.empty()) {
        reversed.pop_back();
    }
    return tool.execute([&reversed](CLI::App &app) { app.parse(reversed); });
}

int runCommandLine(const std::string &line, Session &session) {
    Tool tool(session);
    return tool.execute([&line](CLI::App &app) {
        std::vector<std::string> words = splitScriptLine(line);
        std::reverse(words.begin(), words.end());
        app.parse(words);
    });
}

} // namespace orvex_cli
