#include "channel_source.h"

#include "core/library_status.h"

#include <orvex.h>

namespace orvex_cli {

std::string triggerSource(const AcquisitionRequest &request, const Session &session) {
    if (request.trigger.starts_with("ai") && request.trigger.size() > 2 &&
        request.trigger.find('/') == std::string::npos) {
        return session.boardName() + "/" + request.trigger;
    }
    return request.trigger;
}

ChannelSource::ChannelSource(const AcquisitionRequest &request, const Session &session)
    : SampleSource(request) {
    checked(orvex_analogInClk("OnboardClock", request.rate));
    const std::string trigger = request.trigger.empty() ? "" : triggerSource(request, session);
    checked(orvex_analogInTrigger(trigger.c_str(), request.level));
}

ChannelSource::~ChannelSource() {
    // Reached running only when the acquisition failed; the failure is already reported.
    if (orvex_analogFetchStatus() == 1) {
        orvex_analogInStop(request.channel);
    }
}

int ChannelSource::read(double *scans, int count, double wait) {
    return orvex_analogFetchEx(request.channel, scans, count, nullptr, wait);
}

void ChannelSource::stop() {
    if (orvex_analogFetchStatus() == 1) {
        checked(orvex_analogInStop(request.channel));
    }
}

} // namespace orvex_cli
