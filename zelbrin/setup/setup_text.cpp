#include "setup_text.h"

#include <algorithm>

namespace zelbrin {

namespace {

// A carriage return is a blank: files edited on Windows end their lines with CR LF.
constexpr std::string_view blanks = " \t\r";
// The group QSettings writes the keys of no group under.
constexpr std::string_view generalGroup = "General";

std::string_view trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

SetupRefusal unreadableLine(int number) {
    return {"format", "the file cannot be read as settings: line " + std::to_string(number) +
                          " is neither [group] nor key=value"};
}

std::variant<SetupValues, SetupRefusal> valuesOfText(std::string_view text) {
    SetupValues values;
    std::string group;
    int number = 0;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::string_view line = trimmed(text.substr(start, end - start));
        start = end + 1;
        ++number;
        if (line.empty() || line.front() == ';' || line.front() == '#') {
            continue;
        }
        if (line.front() == '[') {
            if (line.back() != ']') {
                return unreadableLine(number);
            }
            group = trimmed(line.substr(1, line.size() - 2));
            if (group == generalGroup) {
                group.clear();
            }
            continue;
        }
        const std::size_t equals = line.find('=');
        const std::string_view name = trimmed(line.substr(0, equals));
        if (equals == std::string_view::npos || name.empty()) {
            return unreadableLine(number);
        }
        const std::string key = group.empty() ? std::string(name) : group + "/" + std::string(name);
        if (!values.emplace(key, trimmed(line.substr(equals + 1))).second) {
            return SetupRefusal{key, "it is given twice"};
        }
    }
    return values;
}

} // namespace

std::string setupText(const Setup &setup) {
    const SetupValues values = valuesOfSetup(setup);
    std::string text = "[" + std::string(generalGroup) + "]\n";
    for (const auto &[key, value] : values) {
        if (key.find('/') == std::string::npos) {
            text += key + "=" + value + "\n";
        }
    }
    // The map keeps the keys of one group together.
    std::string group;
    for (const auto &[key, value] : values) {
        const std::size_t slash = key.find('/');
        if (slash == std::string::npos) {
            continue;
        }
        if (key.substr(0, slash) != group) {
            group = key.substr(0, slash);
            text += "\n[" + group + "]\n";
        }
        text += key.substr(slash + 1) + "=" + value + "\n";
    }
    return text;
}

std::variant<Setup, SetupRefusal> readSetupText(std::string_view text) {
    auto values = valuesOfText(text);
    if (auto *refusal = std::get_if<SetupRefusal>(&values)) {
        return std::move(*refusal);
    }
    return readSetup(std::get<SetupValues>(values));
}

} // namespace zelbrin
