#include "description.h"

#include "channel_source.h"

#include <orvex.h>

#include <cmath>
#include <cstdio>

namespace orvex_cli {
namespace {

std::string number(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

// Short where a computed time has a binary tail: 1e-06, not 9.9999999999999995e-07.
std::string timeNumber(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.15g", value);
    return text;
}

std::string shortNumber(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

std::string scanChannelText(const ScanChannel &channel, const Session &session) {
    std::string text =
        inputName(channel.input) + " (" + session.physicalChannel("ai", channel.input) + "), ±" +
        shortNumber(boardRange(channel.range)) + " V, " + terminalName(channel.terminal);
    if (channel.terminal == ORVEX_DIFF) {
        text += " against " + inputName(channel.input + 8);
    }
    return text;
}

std::string startText(const std::optional<ScanTiming> &timing) {
    if (!timing || timing->startTimeSource == ORVEX_TIME_UNKNOWN) {
        return "unknown (no sample came)";
    }
    const auto since1970 = std::chrono::microseconds(std::llround(timing->startTime * 1e6));
    const std::string how = timing->startTimeSource == ORVEX_TIME_AT_START
                                ? "the system clock at the scan's start"
                                : "the system clock at the driver's count after the trigger";
    return utcText(std::chrono::system_clock::time_point(since1970), 6) + " (±" +
           shortNumber(timing->startTimeUncertainty) + " s, " + how + ")";
}

std::string triggerText(const AcquisitionRequest &request, const Session &session) {
    const bool falling = request.slope == ORVEX_FALLING;
    if (request.trigger.starts_with("PFI")) {
        return request.trigger + (falling ? " falling edge" : " rising edge");
    }
    return triggerSource(request, session) + (falling ? " falling" : " rising") + " through " +
           number(request.level) + " V";
}

} // namespace

std::string utcText(std::chrono::system_clock::time_point at, int decimals) {
    // From the calendar arithmetic of <chrono>, which needs neither gmtime_r nor gmtime_s.
    using namespace std::chrono;
    const auto micro = floor<microseconds>(at);
    const auto day = floor<days>(micro);
    const year_month_day date{day};
    const hh_mm_ss time{micro - day};
    char text[48];
    int length = std::snprintf(
        text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02d", static_cast<int>(date.year()),
        static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
        static_cast<int>(time.hours().count()), static_cast<int>(time.minutes().count()),
        static_cast<int>(time.seconds().count()));
    if (decimals > 0) {
        length += std::snprintf(text + length, sizeof text - static_cast<std::size_t>(length),
                                ".%06lld", static_cast<long long>(time.subseconds().count()));
    }
    std::snprintf(text + length, sizeof text - static_cast<std::size_t>(length), "Z");
    return text;
}

std::string describeAcquisition(const AcquisitionRequest &request, const Session &session,
                                const std::optional<ScanTiming> &timing, const char *prefix) {
    std::string text;
    auto line = [&](const char *key, const std::string &value) {
        text += std::string(prefix) + key + ": " + value + "\n";
    };
    if (request.scan.empty()) {
        line("channel", "ai" + std::to_string(request.channel) + " (" +
                            session.physicalChannel("ai", request.channel) + ")");
        line("rate", number(request.rate) + " S/s");
        line("units", "V");
        line("start", utcText(std::chrono::system_clock::now(), 0));
    } else {
        for (const ScanChannel &channel : request.scan) {
            line("channel", scanChannelText(channel, session));
        }
        line("rate", number(timing ? timing->rate : request.rate) + " S/s per channel");
        if (timing) {
            line("interval", timeNumber(timing->interval) + " s");
            line("channel step", timeNumber(timing->channelStep) + " s");
        }
        line("units", "V");
        line("start", startText(timing));
    }
    line("driver", orvex_driverLibrary());
    line("slot", std::to_string(session.slot()));
    if (!request.trigger.empty()) {
        line("trigger", triggerText(request, session));
    }
    if (request.inStep) {
        line("in step", request.inStep->description + ", started by the scan's start");
    }
    return text;
}

std::string describeLayout(const AcquisitionRequest &request) {
    std::string text = std::string("format: ") + formatDescription(request.format) + "\n";
    if (!request.scan.empty()) {
        text += "layout: interleaved by scan, " + std::to_string(request.scan.size()) +
                " channels in the order above\n";
    }
    return text;
}

std::string columnNames(const AcquisitionRequest &request, char separator) {
    if (request.scan.empty()) {
        return std::string("sample") + separator + "volts\n";
    }
    std::string names = "sample";
    for (const ScanChannel &channel : request.scan) {
        names += separator + channelLabel(channel);
    }
    return names + "\n";
}

std::string describeCount(const AcquisitionRequest &request, std::uint64_t samples) {
    return (request.scan.empty() ? "samples: " : "samples per channel: ") +
           std::to_string(samples) + "\n";
}

} // namespace orvex_cli
