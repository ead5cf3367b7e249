// The set-up calls: each checks its arguments whole and stores them, or leaves the stored
// set-up as it was.
#include "scan_setup.h"

#include "core/task_cache.h"
#include "uiruntime/runtime_text.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>
#include <strings.h>

using namespace orvex;

namespace orvex {

ScanSetup scanSetup;
ScanRun scanRun;

bool scanRunning() {
    return cache.scan != nullptr;
}

} // namespace orvex

namespace {

constexpr const char *settingUnderScan = "the set-up cannot change while a scan runs";
constexpr double boardVolts = 10.0;

// A PFI line "PFI<n>", n 0 to 15, with or without the device; -1 when it is none.
int parsePfiLine(const char *text, int slot) {
    char own[32];
    Fmt(own, sizeof own, "PXI1Slot%i/", slot);
    const char *at = text[0] == '/' ? text + 1 : text;
    if (strncasecmp(at, own, std::strlen(own)) == 0) {
        at += std::strlen(own);
    }
    if (strncasecmp(at, "PFI", 3) != 0) {
        return -1;
    }
    char *end = nullptr;
    const long line = std::strtol(at + 3, &end, 10);
    return end != at + 3 && *end == '\0' && line >= 0 && line < 16 ? int(line) : -1;
}

// "ao0", "ao1" or "ao0:1" (or "ao1:0"), with or without the device.
bool parseOutputs(const char *text, int slot, int &first, int &count) {
    char own[32];
    Fmt(own, sizeof own, "PXI1Slot%i/", slot);
    const char *at = text[0] == '/' ? text + 1 : text;
    if (strncasecmp(at, own, std::strlen(own)) == 0) {
        at += std::strlen(own);
    }
    if (strcasecmp(at, "ao0") == 0 || strcasecmp(at, "ao1") == 0) {
        first = at[2] - '0';
        count = 1;
        return true;
    }
    if (strcasecmp(at, "ao0:1") == 0) {
        first = 0;
        count = 2;
        return true;
    }
    return false;
}

} // namespace

extern "C" int orvex_scanChannels(const char *channels, double range, int terminal) {
    ORVEX_SCAN_CHECK(!scanRunning(), "!scanRunning()", settingUnderScan);
    Reason why{};
    ChannelList list;
    ORVEX_SCAN_CHECK(parseChannelList(channels, cache.slot, list, why), "channels", why.data());
    const double board = boardRange(range);
    ORVEX_SCAN_CHECK(board > 0.0, "0 < range && range <= 10",
                     "the board measures within ±0.1, 0.2, 0.5, 1, 2, 5 or 10 V");
    ORVEX_SCAN_CHECK(validTerminal(terminal), "terminal", "ORVEX_RSE, ORVEX_NRSE or ORVEX_DIFF");
    for (int k = 0; k < list.count; ++k) {
        list.entries[std::size_t(k)].range = board;
        list.entries[std::size_t(k)].terminal = terminal;
    }
    ORVEX_SCAN_CHECK(checkWiring(list, why), "channels", why.data());
    scanSetup.channels = list;
    return finish(0);
}

extern "C" int orvex_scanChannelSetup(const char *channel, double range, int terminal) {
    ORVEX_SCAN_CHECK(!scanRunning(), "!scanRunning()", settingUnderScan);
    Reason why{};
    const int input = parseInput(channel, cache.slot, why);
    ORVEX_SCAN_CHECK(input >= 0, "channel", why.data());
    ChannelList list = scanSetup.channels;
    ScanChannel *entry = nullptr;
    for (int k = 0; k < list.count; ++k) {
        if (list.entries[std::size_t(k)].input == input) {
            entry = &list.entries[std::size_t(k)];
        }
    }
    ORVEX_SCAN_CHECK(entry != nullptr, "channel", "not in the scan's channel list");
    const double board = boardRange(range);
    ORVEX_SCAN_CHECK(board > 0.0, "0 < range && range <= 10",
                     "the board measures within ±0.1, 0.2, 0.5, 1, 2, 5 or 10 V");
    ORVEX_SCAN_CHECK(validTerminal(terminal), "terminal", "ORVEX_RSE, ORVEX_NRSE or ORVEX_DIFF");
    entry->range = board;
    entry->terminal = terminal;
    ORVEX_SCAN_CHECK(checkWiring(list, why), "channel", why.data());
    scanSetup.channels = list;
    return finish(0);
}

extern "C" int orvex_scanClock(double rate) {
    ORVEX_SCAN_CHECK(!scanRunning(), "!scanRunning()", settingUnderScan);
    ORVEX_SCAN_CHECK(rate > 0.0 && std::isfinite(rate), "rate > 0", "samples per second");
    scanSetup.rate = rate;
    return finish(0);
}

extern "C" int orvex_scanTrigger(const char *source, double level, int slope) {
    ORVEX_SCAN_CHECK(!scanRunning(), "!scanRunning()", settingUnderScan);
    ORVEX_SCAN_CHECK(slope == ORVEX_RISING || slope == ORVEX_FALLING, "slope",
                     "ORVEX_RISING or ORVEX_FALLING");
    ScanTrigger trigger;
    trigger.slope = slope;
    if (source != nullptr && source[0] != '\0') {
        Reason why{};
        const int pfi = parsePfiLine(source, cache.slot);
        const int input = pfi >= 0 ? -1 : parseInput(source, cache.slot, why);
        ORVEX_SCAN_CHECK(pfi >= 0 || input >= 0, "source",
                         "an analog input ai0 to ai15 or a line PFI0 to PFI15");
        ORVEX_SCAN_CHECK(pfi >= 0 || std::fabs(level) <= boardVolts, "-10 <= level && level <= 10",
                         "volts");
        trigger.kind = pfi >= 0 ? TriggerKind::DigitalEdge : TriggerKind::AnalogEdge;
        trigger.source = pfi >= 0 ? pfi : input;
        trigger.level = level;
    }
    scanSetup.trigger = trigger;
    return finish(0);
}

extern "C" int orvex_scanOutput(const char *channels, const double *data, int samplesPerChannel,
                                int shareClock, double rate) {
    ORVEX_SCAN_CHECK(!scanRunning(), "!scanRunning()", settingUnderScan);
    if (channels == nullptr) {
        scanSetup.output = InStepOutput{};
        return finish(0);
    }
    InStepOutput output;
    ORVEX_SCAN_CHECK(parseOutputs(channels, cache.slot, output.firstChannel, output.channelCount),
                     "channels", "ao0, ao1 or ao0:1");
    ORVEX_SCAN_CHECK(data != nullptr, "data != NULL", nullptr);
    ORVEX_SCAN_CHECK(samplesPerChannel > 0, "samplesPerChannel > 0", nullptr);
    ORVEX_SCAN_CHECK(shareClock == 0 || shareClock == 1, "shareClock", "0 or 1");
    ORVEX_SCAN_CHECK(shareClock == 1 || (rate > 0.0 && std::isfinite(rate)), "rate > 0",
                     "samples per second of the output's own clock");
    for (int k = 0; k < output.channelCount; ++k) {
        for (int n = 0; n < samplesPerChannel; ++n) {
            const double volts =
                data[std::size_t(k) * std::size_t(samplesPerChannel) + std::size_t(n)];
            ORVEX_SCAN_CHECK(std::fabs(volts) <= boardVolts, "-10 <= data[i] && data[i] <= 10",
                             "volts");
        }
    }
    try {
        output.samples.resize(std::size_t(output.channelCount) * std::size_t(samplesPerChannel));
    } catch (const std::bad_alloc &) {
        return finish(noMemory("to keep the block; the in-step output is unchanged"));
    }
    // Interleaved, so that a write the driver takes in pieces continues where it stopped.
    for (int k = 0; k < output.channelCount; ++k) {
        for (int n = 0; n < samplesPerChannel; ++n) {
            output.samples[std::size_t(n) * std::size_t(output.channelCount) + std::size_t(k)] =
                data[std::size_t(k) * std::size_t(samplesPerChannel) + std::size_t(n)];
        }
    }
    output.samplesPerChannel = samplesPerChannel;
    output.shareClock = shareClock == 1;
    output.rate = rate;
    scanSetup.output = std::move(output);
    return finish(0);
}
