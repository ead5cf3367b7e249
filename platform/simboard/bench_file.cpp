#include "bench_file.h"
#include "board.h"
#include "entry_points.h"
#include "status_codes.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <cstdint>
#include <fstream>
#include <sstream>

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

enum class BenchSource { file, fragment };

// Checks every key in a first pass (apply == false), then applies them all.
class BenchApplier {
  public:
    BenchApplier(Board &board, BenchSource source, bool apply)
        : board_(board), source_(source), apply_(apply) {}

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
                virtualTime(value);
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
    void seed(const json &value) {
        if (!value.is_number_unsigned()) {
            reject("seed", "expected a non-negative integer");
        }
        if (apply_) {
            board_.stand().setSeed(value.get<uint64_t>());
        }
    }

    // The board is chosen when it is loaded, from the file: a fragment may only confirm it.
    void privateBoard(const json &value, const json &root) {
        if (!value.is_boolean()) {
            reject("private", "expected true or false");
        }
        bool isPrivate = !board_.store().shared();
        if (source_ == BenchSource::fragment && value.get<bool>() != isPrivate) {
            reject("private", "the board is chosen in the bench file, when it is loaded");
        }
        if (!value.get<bool>() && root.value("virtualTime", json()) == json(true)) {
            reject("private", "false asks for the shared board, which runs in real time");
        }
    }

    void virtualTime(const json &value) {
        if (!value.is_boolean()) {
            reject("virtualTime", "expected true or false");
        }
        if (value.get<bool>() && board_.store().shared()) {
            reject("virtualTime", "the shared board runs in real time; a bench file that asks "
                                  "for virtual time gets a board of the process's own");
        }
        if (apply_) {
            board_.clock().setVirtual(value.get<bool>());
        }
    }

    void joystick(const json &value) {
        if (!value.is_object()) {
            reject("joystick", "expected an object");
        }
        for (const auto &[key, item] : value.items()) {
            if (key == "hold") {
                std::optional<StickVoltages> held;
                if (!item.is_null()) {
                    held = stick(item, "joystick.hold");
                }
                if (apply_) {
                    held ? board_.stand().joystick().hold(*held)
                         : board_.stand().joystick().release();
                }
            } else if (key == "path") {
                path(item);
            } else if (key == "noise") {
                double peak = volts(item, "joystick.noise");
                if (peak < 0.0 || peak > 1.0) {
                    reject("joystick.noise", "expected 0 to 1 volt");
                }
                if (apply_) {
                    board_.stand().setJoystickNoise(peak);
                }
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
        double period = Joystick::defaultPeriod;
        for (const auto &[key, item] : value.items()) {
            if (key == "period") {
                if (!item.is_number() || item.get<double>() <= 0.0) {
                    reject("joystick.path.period", "expected a positive number of seconds");
                }
                period = item.get<double>();
            } else if (key != "points") {
                reject("joystick.path." + key, "unknown key");
            }
        }
        if (value["points"].size() > Joystick::maxPathPoints) {
            reject("joystick.path.points",
                   "at most " + std::to_string(Joystick::maxPathPoints) + " points");
        }
        std::vector<StickVoltages> points;
        for (const json &point : value["points"]) {
            points.push_back(stick(point, "joystick.path.points[]"));
        }
        if (apply_) {
            board_.stand().joystick().setPath(points, period);
        }
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
            SwitchMode parsed = SwitchMode::cycle;
            if (mode == "pressed") {
                parsed = SwitchMode::pressed;
            } else if (mode == "released") {
                parsed = SwitchMode::released;
            } else if (mode != "cycle") {
                reject("switches." + key, "expected \"pressed\", \"released\" or \"cycle\"");
            }
            if (apply_) {
                board_.stand().setSwitch(key[1] - '0', parsed);
            }
        }
    }

    static PhysicalChannel channel(const std::string &name, ChannelKind kind,
                                   const std::string &where) {
        ParsedChannel parsed = parsePhysicalChannels(name);
        if (parsed.outcome.failed()) {
            reject(where + "." + name, parsed.outcome.detail);
        }
        if (parsed.channel.kind != kind) {
            reject(where + "." + name, "wrong kind of channel");
        }
        return parsed.channel;
    }

    void inputLines(const json &value) {
        if (!value.is_object()) {
            reject("inputLines", "expected an object");
        }
        for (const auto &[key, item] : value.items()) {
            PhysicalChannel lines = channel(key, ChannelKind::digital, "inputLines");
            std::optional<bool> level;
            if (item.is_boolean()) {
                level = item.get<bool>();
            } else if (item.is_number_integer() && (item == 0 || item == 1)) {
                level = item.get<int>() == 1;
            } else if (!item.is_null()) {
                reject("inputLines." + key, "expected 0, 1, true, false or null");
            }
            for (int line = 0; apply_ && line < linesPerPort; ++line) {
                if ((lines.lineMask >> line) & 1u) {
                    board_.stand().setLine(lines.port, line, level);
                }
            }
        }
    }

    void analogInputs(const json &value) {
        if (!value.is_object()) {
            reject("analogInputs", "expected an object");
        }
        for (const auto &[key, item] : value.items()) {
            PhysicalChannel input = channel(key, ChannelKind::analogInput, "analogInputs");
            std::optional<double> level;
            if (!item.is_null()) {
                level = volts(item, "analogInputs." + key);
            }
            if (apply_) {
                board_.stand().setAnalogInput(input.analogChannel, level);
            }
        }
    }

    void faults(const json &value) {
        if (!value.is_array()) {
            reject("faults", "expected a list");
        }
        if (board_.faults().armedCount() + value.size() > FaultTable::capacity) {
            reject("faults", "the board holds " + std::to_string(FaultTable::capacity) +
                                 " armed faults at most; reset it first");
        }
        for (const json &item : value) {
            Fault fault = this->fault(item);
            if (apply_) {
                board_.faults().arm(fault);
            }
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

    Board &board_;
    BenchSource source_;
    bool apply_;
};

Outcome applyBench(std::string_view text, Board &board, BenchSource source, bool apply) {
    try {
        json root = json::parse(text);
        BenchApplier(board, source, false).run(root);
        if (apply) {
            BenchApplier(board, source, true).run(root);
            board.notifyChanged();
        }
        return {};
    } catch (const json::exception &error) {
        return refuse(status::benchFileInvalid, std::string("JSON: ") + error.what());
    } catch (const BenchError &error) {
        return refuse(status::benchFileInvalid, error.message);
    }
}

} // namespace

Outcome applyBenchText(std::string_view text, Board &board) {
    return applyBench(text, board, BenchSource::fragment, true);
}

BenchFile readBenchFile(const char *path) {
    BenchFile bench;
    bench.path = path;
    std::ifstream file(path);
    if (!file) {
        bench.failure = refuse(status::benchFileInvalid, "the file cannot be opened");
        return bench;
    }
    std::stringstream text;
    text << file.rdbuf();
    bench.text = text.str();
    return bench;
}

bool wantsPrivateBoard(const BenchFile &bench) {
    if (bench.path.empty()) {
        return false;
    }
    if (bench.failure.failed()) {
        return true;
    }
    json root = json::parse(bench.text, nullptr, false);
    if (!root.is_object()) {
        return true;
    }
    return root.value("private", json()) == json(true) ||
           root.value("virtualTime", json()) == json(true);
}

Outcome applyBenchFile(const BenchFile &bench, Board &board, bool apply) {
    Outcome outcome = bench.failure;
    if (!outcome.failed()) {
        outcome = applyBench(bench.text, board, BenchSource::file, apply);
    }
    if (outcome.failed()) {
        outcome.detail = bench.path + ": " + outcome.detail;
    }
    return outcome;
}

} // namespace simboard
