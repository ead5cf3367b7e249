#include "bench_file.h"
#include "daqmx/entry_points.h"
#include "json_document.h"
#include "names/status_codes.h"

#include "host/host_text.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>

namespace simboard {
namespace {

using nlohmann::json;

constexpr std::array knownEntryPoints = {
#define ENTRY_POINT_NAME(name, params, args) std::string_view(#name),
    DAQMX_ENTRY_POINTS(ENTRY_POINT_NAME)
#undef ENTRY_POINT_NAME
};

// Thrown for the first problem found; the message names the key.
struct BenchError {
    std::string message;
};

[[noreturn]] void reject(const std::string &where, const std::string &what) {
    throw BenchError{"\"" + where + "\": " + what};
}

double volts(const json &value, const std::string &where) {
    if (!value.is_number()) {
        reject(where, "expected a number of volts");
    }
    return value.get<double>();
}

// Reads every key into the settings; the first problem ends the reading.
class BenchReader {
  public:
    explicit BenchReader(BenchSettings &settings) : s_(settings) {}

    void run(const json &root) {
        if (!root.is_object()) {
            reject("(top level)", "expected an object");
        }
        for (const auto &[key, value] : root.items()) {
            if (key == "seed") {
                seed(value);
            } else if (key == "private") {
                privateBoard(value, root);
            } else if (key == "virtualTime") {
                s_.virtualTime = flag(value, "virtualTime");
            } else if (key == "joystick") {
                joystick(value);
            } else if (key == "switches") {
                switches(value);
            } else if (key == "inputLines") {
                inputLines(value);
            } else if (key == "analogInputs") {
                analogInputs(value);
            } else if (key == "faults") {
                faults(value);
            } else {
                reject(key, "unknown key");
            }
        }
    }

  private:
    static bool flag(const json &value, const std::string &where) {
        if (!value.is_boolean()) {
            reject(where, "expected true or false");
        }
        return value.get<bool>();
    }

    void seed(const json &value) {
        if (!value.is_number_unsigned()) {
            reject("seed", "expected a non-negative integer");
        }
        s_.seed = value.get<uint64_t>();
    }

    void privateBoard(const json &value, const json &root) {
        s_.privateBoard = flag(value, "private");
        // A member is looked at in place: a copy of one with members could not be
        // destroyed safely when memory runs out (see json_document.h).
        const auto virtualTime = root.find("virtualTime");
        if (!*s_.privateBoard && virtualTime != root.end() && *virtualTime == true) {
            reject("private", "false asks for the shared board, which runs in real time");
        }
    }

    void joystick(const json &value) {
        if (!value.is_object()) {
            reject("joystick", "expected an object");
        }
        for (const auto &[key, item] : value.items()) {
            if (key == "hold") {
                s_.releaseJoystick = item.is_null();
                if (!item.is_null()) {
                    s_.holdJoystick = stick(item, "joystick.hold");
                }
            } else if (key == "path") {
                path(item);
            } else if (key == "noise") {
                double peak = volts(item, "joystick.noise");
                if (peak < 0.0 || peak > 1.0) {
                    reject("joystick.noise", "expected 0 to 1 volt");
                }
                s_.joystickNoise = peak;
            } else {
                reject("joystick." + key, "unknown key");
            }
        }
    }

    static StickVoltages stick(const json &value, const std::string &where) {
        if (!value.is_object() || !value.contains("x") || !value.contains("y") ||
            value.size() != 2) {
            reject(where, "expected {\"x\": volts, \"y\": volts}");
        }
        return {volts(value["x"], where + ".x"), volts(value["y"], where + ".y")};
    }

    void path(const json &value) {
        if (!value.is_object() || !value.contains("points") || !value["points"].is_array()) {
            reject("joystick.path", "expected {\"period\": seconds, \"points\": [...]}");
        }
        JoystickPathSetting path;
        for (const auto &[key, item] : value.items()) {
            if (key == "period") {
                if (!item.is_number() || item.get<double>() <= 0.0) {
                    reject("joystick.path.period", "expected a positive number of seconds");
                }
                path.period = item.get<double>();
            } else if (key != "points") {
                reject("joystick.path." + key, "unknown key");
            }
        }
        if (value["points"].size() > Joystick::maxPathPoints) {
            reject("joystick.path.points",
                   "at most " + std::to_string(Joystick::maxPathPoints) + " points");
        }
        for (const json &point : value["points"]) {
            path.points.push_back(stick(point, "joystick.path.points[]"));
        }
        s_.joystickPath = std::move(path);
    }

    void switches(const json &value) {
        if (!value.is_object()) {
            reject("switches", "expected an object");
        }
        for (const auto &[key, item] : value.items()) {
            if (key.size() != 2 || key[0] != 'S' || key[1] < '1' || key[1] > '4') {
                reject("switches." + key, "unknown switch (S1 to S4)");
            }
            std::string mode = item.is_string() ? item.get<std::string>() : "";
            SwitchMode parsed = SwitchMode::Cycle;
            if (mode == "pressed") {
                parsed = SwitchMode::Pressed;
            } else if (mode == "released") {
                parsed = SwitchMode::Released;
            } else if (mode != "cycle") {
                reject("switches." + key, "expected \"pressed\", \"released\" or \"cycle\"");
            }
            s_.switches.push_back({key[1] - '0', parsed});
        }
    }

    static ParsedChannel channels(const std::string &name, ChannelKind kind,
                                  const std::string &where) {
        ParsedChannel parsed = parsePhysicalChannels(name);
        if (parsed.outcome.failed()) {
            reject(where + "." + name, parsed.outcome.detail);
        }
        if (parsed.channel.kind != kind) {
            reject(where + "." + name, "wrong kind of channel");
        }
        return parsed;
    }

    void inputLines(const json &value) {
        if (!value.is_object()) {
            reject("inputLines", "expected an object");
        }
        for (const auto &[key, item] : value.items()) {
            PhysicalChannel lines = channels(key, ChannelKind::Digital, "inputLines").channel;
            std::optional<bool> level;
            if (item.is_boolean()) {
                level = item.get<bool>();
            } else if (item.is_number_integer() && (item == 0 || item == 1)) {
                level = item.get<int>() == 1;
            } else if (!item.is_null()) {
                reject("inputLines." + key, "expected 0, 1, true, false or null");
            }
            s_.inputLines.push_back({lines.port, lines.lineMask, level});
        }
    }

    void analogInputs(const json &value) {
        if (!value.is_object()) {
            reject("analogInputs", "expected an object");
        }
        for (const auto &[key, item] : value.items()) {
            ParsedChannel inputs = channels(key, ChannelKind::AnalogInput, "analogInputs");
            std::optional<double> level;
            if (!item.is_null()) {
                level = volts(item, "analogInputs." + key);
            }
            for (int input : inputs.analogChannels) {
                s_.analogInputs.push_back({input, level});
            }
        }
    }

    void faults(const json &value) {
        if (!value.is_array()) {
            reject("faults", "expected a list");
        }
        for (const json &item : value) {
            s_.faults.push_back(fault(item));
        }
    }

    static Fault fault(const json &item) {
        const std::string where = "faults[]";
        if (!item.is_object()) {
            reject(where, "expected an object");
        }
        Fault fault;
        bool every = false;
        for (const auto &[key, value] : item.items()) {
            if (key == "entryPoint" && value.is_string()) {
                fault.entryPoint = value.get<std::string>();
            } else if (key == "call" && value.is_number_unsigned() && value.get<uint64_t>() > 0) {
                fault.call = value.get<uint64_t>();
            } else if (key == "every" && value.is_boolean()) {
                every = value.get<bool>();
            } else if (key == "status" && value.is_number_integer() && value != 0 &&
                       value >= INT32_MIN && value <= INT32_MAX) {
                fault.status = value.get<int32_t>();
            } else {
                reject(where + "." + key, "unknown key or invalid value");
            }
        }
        if (std::find(knownEntryPoints.begin(), knownEntryPoints.end(), fault.entryPoint) ==
            knownEntryPoints.end()) {
            reject(where + ".entryPoint", "not a driver entry point: \"" + fault.entryPoint + "\"");
        }
        if (fault.status == 0) {
            reject(where + ".status", "missing");
        }
        if (every == (fault.call != 0)) {
            reject(where, "give either \"call\": n or \"every\": true");
        }
        return fault;
    }

    BenchSettings &s_;
};

} // namespace

Outcome parseBenchText(std::string_view text, BenchSettings &settings) {
    // The JSON reader takes a NUL byte for the end of its input, so whatever follows one
    // would go unread.
    if (const size_t nul = text.find('\0'); nul != std::string_view::npos) {
        return refuse(status::benchFileInvalid,
                      "JSON: a NUL byte at offset " + std::to_string(nul) +
                          "; the text must hold its JSON value and nothing after it");
    }
    try {
        BenchSettings read;
        BenchReader(read).run(JsonDocument(text).root());
        settings = std::move(read);
        return {};
    } catch (const json::exception &error) {
        return refuse(status::benchFileInvalid, std::string("JSON: ") + error.what());
    } catch (const BenchError &error) {
        return refuse(status::benchFileInvalid, error.message);
    } catch (const JsonTooDeep &) {
        return refuse(status::benchFileInvalid, "JSON: nested deeper than " +
                                                    std::to_string(JsonDocument::maxDepth) +
                                                    " levels");
    }
}

BenchFile readBenchFile(const char *path) {
    BenchFile bench;
    bench.path = path;
    std::string text;
    if (std::FILE *file = host::openFile(path, "rb")) {
        char chunk[4096];
        for (size_t got; (got = std::fread(chunk, 1, sizeof chunk, file)) > 0;) {
            text.append(chunk, got);
        }
        std::fclose(file);
        bench.failure = parseBenchText(text, bench.settings);
    } else {
        bench.failure = refuse(status::benchFileInvalid, "the file cannot be opened");
    }
    if (bench.failure.failed()) {
        bench.failure.detail = bench.path + ": " + bench.failure.detail;
    }
    return bench;
}

bool wantsPrivateBoard(const BenchFile &bench) {
    return !bench.path.empty() && (bench.failure.failed() || asksForPrivateBoard(bench.settings));
}

} // namespace simboard
