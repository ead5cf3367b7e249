#include "channel_list.h"

#include "uiruntime/runtime_text.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <strings.h>

namespace orvex {
namespace {

constexpr std::array boardRanges = {0.1, 0.2, 0.5, 1.0, 2.0, 5.0, 10.0};
// A range asked as 0.1000000001 V is still the board's 0.1 V.
constexpr double rangeTolerance = 1e-9;

const char *skipBlanks(const char *text) {
    while (*text == ' ' || *text == '\t') {
        ++text;
    }
    return text;
}

// Reads a number of decimal digits; -1 when there is none or it is absurdly long.
int readNumber(const char *&text) {
    if (std::isdigit(static_cast<unsigned char>(*text)) == 0) {
        return -1;
    }
    int value = 0;
    while (std::isdigit(static_cast<unsigned char>(*text)) != 0) {
        value = value * 10 + (*text++ - '0');
        if (value > 9999) {
            return -1;
        }
    }
    return value;
}

// Skips "/PXI1Slot<slot>/" or "PXI1Slot<slot>/" when the entry starts with one.
bool skipDevice(const char *&text, int slot, Reason &why) {
    const char *at = text[0] == '/' ? text + 1 : text;
    constexpr const char *chassis = "PXI1Slot";
    if (strncasecmp(at, chassis, std::strlen(chassis)) != 0) {
        return true;
    }
    at += std::strlen(chassis);
    const int named = readNumber(at);
    if (named != slot || *at != '/') {
        Fmt(why.data(), why.size(), "\"%s\" is not on the board in slot %i", text, slot);
        return false;
    }
    text = at + 1;
    return true;
}

// "ai<n>" with n an input of the board.
int readInput(const char *&text, Reason &why) {
    const char *start = text;
    if (strncasecmp(text, "ai", 2) != 0) {
        Fmt(why.data(), why.size(), "unknown channel \"%s\" (the inputs are ai0 to ai15)", start);
        return -1;
    }
    text += 2;
    const int input = readNumber(text);
    if (input < 0 || input >= scanInputCount) {
        Fmt(why.data(), why.size(), "unknown channel \"%s\" (the inputs are ai0 to ai15)", start);
        return -1;
    }
    return input;
}

bool appendRange(ChannelList &list, int first, int last, Reason &why) {
    const int step = first <= last ? 1 : -1;
    for (int input = first;; input += step) {
        if (list.count == scanInputCount) {
            Fmt(why.data(), why.size(), "more than %i channels (ai%i is listed twice)",
                scanInputCount, input);
            return false;
        }
        list.entries[std::size_t(list.count++)].input = input;
        if (input == last) {
            return true;
        }
    }
}

// One entry of the list, up to its end or the comma; `entry` is its text alone.
bool parseEntry(const char *entry, int slot, ChannelList &list, Reason &why) {
    const char *text = skipBlanks(entry);
    if (!skipDevice(text, slot, why)) {
        return false;
    }
    const int first = readInput(text, why);
    if (first < 0) {
        return false;
    }
    int last = first;
    if (*text == ':') {
        ++text;
        if (strncasecmp(text, "ai", 2) == 0) {
            text += 2;
        }
        last = readNumber(text);
        if (last < 0 || last >= scanInputCount) {
            Fmt(why.data(), why.size(), "unknown channel range \"%s\" (the inputs are ai0 to ai15)",
                entry);
            return false;
        }
    }
    if (*skipBlanks(text) != '\0') {
        Fmt(why.data(), why.size(), "unknown channel \"%s\" (the inputs are ai0 to ai15)", entry);
        return false;
    }
    return appendRange(list, first, last, why);
}

} // namespace

bool parseChannelList(const char *text, int slot, ChannelList &list, Reason &why) {
    list.count = 0;
    if (text == nullptr || *skipBlanks(text) == '\0') {
        Fmt(why.data(), why.size(), "no channel given");
        return false;
    }
    // Entries are cut out one at a time into a buffer of their own, so that a reason can
    // quote the entry alone; one longer than any channel name is refused as unknown.
    std::array<char, 64> entry{};
    const char *at = text;
    while (true) {
        const char *comma = std::strchr(at, ',');
        const std::size_t length = comma != nullptr ? std::size_t(comma - at) : std::strlen(at);
        if (length >= entry.size()) {
            Fmt(why.data(), why.size(), "unknown channel \"%.40s...\"", at);
            return false;
        }
        std::memcpy(entry.data(), at, length);
        entry[length] = '\0';
        if (!parseEntry(entry.data(), slot, list, why)) {
            return false;
        }
        if (comma == nullptr) {
            return true;
        }
        at = comma + 1;
    }
}

int parseInput(const char *text, int slot, Reason &why) {
    ChannelList one;
    if (!parseChannelList(text, slot, one, why)) {
        return -1;
    }
    if (one.count != 1) {
        Fmt(why.data(), why.size(), "\"%s\" is not one channel", text);
        return -1;
    }
    return one.entries[0].input;
}

double boardRange(double requested) {
    if (!(requested > 0.0)) {
        return 0.0;
    }
    for (double range : boardRanges) {
        if (requested <= range * (1.0 + rangeTolerance)) {
            return range;
        }
    }
    return 0.0;
}

bool validTerminal(int terminal) {
    return terminal == ORVEX_RSE || terminal == ORVEX_NRSE || terminal == ORVEX_DIFF;
}

bool checkWiring(const ChannelList &list, Reason &why) {
    std::array<int, scanInputCount> listedAt{};
    listedAt.fill(-1);
    for (int k = 0; k < list.count; ++k) {
        const int input = list.entries[std::size_t(k)].input;
        if (listedAt[std::size_t(input)] >= 0) {
            Fmt(why.data(), why.size(), "ai%i is listed twice", input);
            return false;
        }
        listedAt[std::size_t(input)] = k;
    }
    for (int k = 0; k < list.count; ++k) {
        const ScanChannel &channel = list.entries[std::size_t(k)];
        if (channel.terminal != ORVEX_DIFF) {
            continue;
        }
        if (channel.input >= differentialPartnerOffset) {
            Fmt(why.data(), why.size(),
                "ai%i cannot be differential: only ai0 to ai7 are, each against the input 8 "
                "above it",
                channel.input);
            return false;
        }
        const int partner = channel.input + differentialPartnerOffset;
        if (listedAt[std::size_t(partner)] >= 0) {
            Fmt(why.data(), why.size(),
                "ai%i is the differential partner of ai%i and cannot be used on its own", partner,
                channel.input);
            return false;
        }
    }
    return true;
}

} // namespace orvex
