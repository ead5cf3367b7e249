#include "scan_source.h"

#include "core/library_status.h"
#include "core/tool_errors.h"

#include <orvex.h>

namespace orvex_cli {
namespace {

constexpr int badArgument = -1;

// The set-up calls refuse only what the user asked for (the tool checks the same before,
// where it can): their refusal is a usage error with the library's own text.
void userSetting(int status) {
    if (status == badArgument) {
        throw UsageError(orvex_GetLastErrorBuffer());
    }
    checked(status);
}

std::string listText(const std::vector<ScanChannel> &channels) {
    std::string list;
    for (const ScanChannel &channel : channels) {
        list += (list.empty() ? "" : ",") + inputName(channel.input);
    }
    return list;
}

void setUpChannels(const std::vector<ScanChannel> &channels) {
    // Every channel plain first, then each one's own settings: a differential setting
    // given for the whole list would be refused for its inputs above ai7 before they get
    // their own.
    userSetting(orvex_scanChannels(listText(channels).c_str(), largestRange, ORVEX_RSE));
    for (const ScanChannel &channel : channels) {
        if (channel.range != largestRange || channel.terminal != ORVEX_RSE) {
            userSetting(orvex_scanChannelSetup(inputName(channel.input).c_str(), channel.range,
                                               channel.terminal));
        }
    }
}

} // namespace

InStepArming::InStepArming(const std::optional<InStepOutput> &output) {
    if (!output) {
        return;
    }
    const int status =
        orvex_scanOutput(output->channels.c_str(), output->data.data(), output->samplesPerChannel,
                         output->shareClock ? 1 : 0, output->rate);
    userSetting(status);
    armed = true;
}

InStepArming::~InStepArming() {
    if (armed) {
        orvex_scanOutput(nullptr, nullptr, 0, 0, 0.0);
    }
}

ScanSource::ScanSource(const AcquisitionRequest &request)
    : SampleSource(request), inStep(request.inStep) {
    setUpChannels(request.scan);
    userSetting(orvex_scanClock(request.rate));
    userSetting(orvex_scanTrigger(request.trigger.empty() ? nullptr : request.trigger.c_str(),
                                  request.level, request.slope));
    checked(orvex_scanStart(0));
    running = true;
}

ScanSource::~ScanSource() {
    // Reached running only when the acquisition failed; the failure is already reported.
    if (running) {
        orvex_scanStop();
    }
}

int ScanSource::read(double *scans, int count, double wait) {
    return orvex_scanReadEx(scans, count, ORVEX_BY_SCAN, nullptr, wait);
}

void ScanSource::stop() {
    running = false;
    checked(orvex_scanStop());
}

std::optional<ScanTiming> ScanSource::timing() const {
    orvex_ScanInfo info{};
    if (orvex_scanInfo(&info) < 0) {
        return std::nullopt;
    }
    return ScanTiming{info.rate,
                      info.interval,
                      info.channelStep,
                      info.startTime,
                      info.startTimeUncertainty,
                      info.startTimeSource};
}

} // namespace orvex_cli
