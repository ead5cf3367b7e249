#include "config_json.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

namespace recording {

namespace {

using Json = nlohmann::json;

[[noreturn]] void refuse(const std::string &where, const std::string &why) {
    throw std::invalid_argument("recording configuration: " + where + ": " + why);
}

// One object of the configuration, read key by key; a key it does not know is refused
// when the object is opened, so that a misspelt key never leaves a default in its place.
class ObjectReader {
  public:
    ObjectReader(const Json &object, std::string path, std::initializer_list<const char *> keys)
        : object_(object), path_(std::move(path)) {
        if (!object.is_object()) {
            refuse(path_.empty() ? "the whole" : path_, "an object is needed");
        }
        for (const auto &item : object.items()) {
            const bool known = std::any_of(keys.begin(), keys.end(),
                                           [&](const char *key) { return item.key() == key; });
            if (!known) {
                refuse(where(item.key()), "unknown key");
            }
        }
    }

    std::string where(const std::string &key) const {
        return path_.empty() ? key : path_ + "." + key;
    }

    const Json *find(const char *key) const {
        const auto found = object_.find(key);
        return found == object_.end() ? nullptr : &*found;
    }

    const Json &required(const char *key) const {
        const Json *value = find(key);
        if (value == nullptr) {
            refuse(where(key), "missing");
        }
        return *value;
    }

    void number(const char *key, double &into) const {
        if (const Json *value = find(key)) {
            if (!value->is_number()) {
                refuse(where(key), "a number is needed");
            }
            into = value->get<double>();
        }
    }

    void text(const char *key, std::string &into) const {
        if (const Json *value = find(key)) {
            if (!value->is_string()) {
                refuse(where(key), "a text is needed");
            }
            into = value->get<std::string>();
        }
    }

    template <typename Integer> void integer(const char *key, Integer &into) const {
        if (const Json *value = find(key)) {
            const bool fits = value->is_number_unsigned() ||
                              (value->is_number_integer() && std::is_signed_v<Integer>);
            if (!fits) {
                refuse(where(key), std::is_signed_v<Integer>
                                       ? "an integer is needed"
                                       : "a whole number of 0 or more is needed");
            }
            into = value->get<Integer>();
        }
    }

    template <typename Value> void map(const char *key, std::map<std::string, Value> &into) const {
        const Json *value = find(key);
        if (value == nullptr) {
            return;
        }
        if (!value->is_object()) {
            refuse(where(key), "an object is needed");
        }
        for (const auto &item : value->items()) {
            const bool fits = std::is_same_v<Value, std::string> ? item.value().is_string()
                                                                 : item.value().is_number();
            if (!fits) {
                refuse(where(key) + "." + item.key(), std::is_same_v<Value, std::string>
                                                          ? "a text is needed"
                                                          : "a number is needed");
            }
            into[item.key()] = item.value().get<Value>();
        }
    }

  private:
    const Json &object_;
    std::string path_;
};

ChannelDescription channelFromJson(const Json &object, const std::string &path) {
    const ObjectReader reader(
        object, path, {"name", "range", "terminal", "units", "scale", "offset", "calibration"});
    ChannelDescription channel;
    reader.required("name");
    reader.text("name", channel.name);
    reader.number("range", channel.range);
    reader.text("terminal", channel.terminal);
    reader.text("units", channel.units);
    reader.number("scale", channel.scale);
    reader.number("offset", channel.offset);
    reader.map("calibration", channel.calibration);
    return channel;
}

std::vector<ChannelDescription> channelsFromJson(const Json &list) {
    if (!list.is_array()) {
        refuse("channels", "a list is needed");
    }
    std::vector<ChannelDescription> channels;
    for (std::size_t k = 0; k < list.size(); ++k) {
        channels.push_back(channelFromJson(list[k], "channels[" + std::to_string(k) + "]"));
    }
    return channels;
}

SampleFormat formatFromJson(const Json &value) {
    for (const SampleFormat format :
         {SampleFormat::Float32, SampleFormat::Float64, SampleFormat::Int16}) {
        if (value == sampleFormatName(format)) {
            return format;
        }
    }
    refuse("format", "\"float32\", \"float64\" or \"int16\" is needed");
}

StartTime startFromJson(const Json &object) {
    const ObjectReader reader(object, "start", {"epoch", "source", "uncertainty"});
    StartTime start;
    reader.number("epoch", start.epochSeconds);
    reader.text("source", start.source);
    reader.number("uncertainty", start.uncertainty);
    return start;
}

Rotation rotationFromJson(const Json &object) {
    const ObjectReader reader(object, "rotation", {"seconds", "bytes"});
    Rotation rotation;
    reader.number("seconds", rotation.seconds);
    reader.integer("bytes", rotation.bytes);
    return rotation;
}

Provenance provenanceFromJson(const Json &object) {
    const ObjectReader reader(object, "provenance",
                              {"board", "slot", "driver", "program", "program_version",
                               "library_version", "host", "notes"});
    Provenance provenance;
    reader.text("board", provenance.board);
    reader.integer("slot", provenance.slot);
    reader.text("driver", provenance.driver);
    reader.text("program", provenance.program);
    reader.text("program_version", provenance.programVersion);
    reader.text("library_version", provenance.libraryVersion);
    reader.text("host", provenance.host);
    reader.text("notes", provenance.notes);
    return provenance;
}

} // namespace

RecordingConfig configFromJson(std::string_view text) {
    Json document;
    try {
        document = Json::parse(text);
    } catch (const Json::parse_error &error) {
        throw std::invalid_argument(std::string("recording configuration: ") + error.what());
    }
    const ObjectReader reader(document, "",
                              {"channels", "interval", "start", "format", "rotation", "directory",
                               "pattern", "flush_seconds", "provenance", "texts", "numbers"});
    RecordingConfig config;
    config.channels = channelsFromJson(reader.required("channels"));
    reader.required("interval");
    reader.number("interval", config.interval);
    if (const Json *start = reader.find("start")) {
        config.start = startFromJson(*start);
    }
    if (const Json *format = reader.find("format")) {
        config.format = formatFromJson(*format);
    }
    if (const Json *rotation = reader.find("rotation")) {
        config.rotation = rotationFromJson(*rotation);
    }
    reader.text("directory", config.directory);
    reader.text("pattern", config.pattern);
    reader.number("flush_seconds", config.flushSeconds);
    if (const Json *provenance = reader.find("provenance")) {
        config.provenance = provenanceFromJson(*provenance);
    }
    reader.map("texts", config.extraTexts);
    reader.map("numbers", config.extraNumbers);
    return config;
}

} // namespace recording
