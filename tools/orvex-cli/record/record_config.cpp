#include "record_config.h"

#include "acquisition/scan_channels.h"
#include "core/line_reader.h"
#include "core/tool_errors.h"
#include "core/values.h"

#include <cmath>
#include <map>
#include <set>
#include <string_view>
#include <vector>

namespace orvex_cli {
namespace {

constexpr std::string_view blanks = " \t\r";
constexpr double longestBlock = 10.0;

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

// What the lines say, key by key, each key with its line for messages.
struct Entries {
    std::map<std::string, std::vector<std::string>> values;
    std::map<std::string, std::string> places;
};

const std::set<std::string, std::less<>> repeatableKeys = {"range", "terminal"};
const std::set<std::string, std::less<>> knownKeys = {
    "channels", "rate",           "range",        "terminal", "sample-type", "directory",
    "pattern",  "rotate-seconds", "rotate-bytes", "notes",    "block",       "duration"};

Entries readEntries(const std::string &path) {
    LineReader reader(path, "configuration", false);
    Entries entries;
    std::string line;
    while (reader.next(line)) {
        const std::string_view content = trimmed(std::string_view(line).substr(0, line.find('#')));
        if (content.empty()) {
            continue;
        }
        const auto equals = content.find('=');
        if (equals == std::string_view::npos) {
            throw UsageError(reader.place() + "not 'key = value': " + quotedEcho(content));
        }
        const std::string key(trimmed(content.substr(0, equals)));
        if (!knownKeys.contains(key)) {
            throw UsageError(reader.place() + "unknown key " + quotedEcho(key));
        }
        if (entries.values.contains(key) && !repeatableKeys.contains(key)) {
            throw UsageError(reader.place() + quotedEcho(key) + " is given twice");
        }
        entries.values[key].emplace_back(trimmed(content.substr(equals + 1)));
        entries.places[key] = reader.place();
    }
    return entries;
}

class Reader {
  public:
    explicit Reader(const std::string &path) : path(path), entries(readEntries(path)) {}

    std::string required(const std::string &key) const {
        if (!entries.values.contains(key)) {
            throw UsageError("give '" + key + " = ...'");
        }
        return entries.values.at(key).front();
    }

    std::string optional(const std::string &key, std::string fallback) const {
        return entries.values.contains(key) ? entries.values.at(key).front() : fallback;
    }

    std::vector<std::string> all(const std::string &key) const {
        return entries.values.contains(key) ? entries.values.at(key) : std::vector<std::string>{};
    }

    // A value's own check, with its line in front of the message.
    template <typename Check> auto checked(const std::string &key, Check check) const {
        try {
            return check();
        } catch (const UsageError &error) {
            const auto place = entries.places.find(key);
            throw UsageError((place != entries.places.end() ? place->second : path + ": ") +
                             error.what());
        }
    }

  private:
    std::string path;
    Entries entries;
};

} // namespace

RecordConfig readRecordConfig(const std::string &path) {
    const Reader reader(path);
    RecordConfig config;
    AcquisitionRequest &scan = config.scan;
    scan.scan = reader.checked("channels", [&] {
        return parseScanChannels(reader.required("channels"), reader.all("range"),
                                 reader.all("terminal"));
    });
    scan.rate =
        reader.checked("rate", [&] { return parsePositive(reader.required("rate"), "rate"); });
    reader.checked("rate", [&] {
        checkScanRate(scan.rate, scan.scan.size());
        return 0;
    });
    scan.format = SampleFormat::H5;
    const double duration = reader.checked(
        "duration", [&] { return parseNonNegative(reader.optional("duration", "0"), "duration"); });
    scan.samples = static_cast<std::uint64_t>(std::llround(duration * scan.rate));
    if (duration > 0.0 && scan.samples == 0) {
        reader.checked("duration",
                       []() -> int { throw UsageError("duration at this rate gives no sample"); });
    }

    RecordingPlan &plan = config.plan;
    const std::string type = reader.optional("sample-type", "f32");
    if (type != "f32" && type != "f64") {
        reader.checked("sample-type", [&]() -> int {
            throw UsageError("sample-type " + quotedEcho(type) + " is not f32 or f64");
        });
    }
    plan.float64 = type == "f64";
    plan.directory = reader.optional("directory", ".");
    plan.pattern = reader.optional("pattern", "orvex-%Y%m%dT%H%M%SZ-%n.h5");
    plan.rotateSeconds = reader.checked("rotate-seconds", [&] {
        return parseNonNegative(reader.optional("rotate-seconds", "0"), "rotate-seconds");
    });
    const std::string bytes = reader.optional("rotate-bytes", "0");
    if (bytes != "0") {
        plan.rotateBytes =
            reader.checked("rotate-bytes", [&] { return parseCount(bytes, "rotate-bytes"); });
    }
    plan.notes = reader.optional("notes", "");
    plan.program = "orvex record";
    config.block = reader.checked("block", [&] {
        const double block = parsePositive(reader.optional("block", "0.1"), "block");
        if (block > longestBlock) {
            throw UsageError("block is at most 10 s, so that a stop is seen in time");
        }
        return block;
    });
    return config;
}

} // namespace orvex_cli
