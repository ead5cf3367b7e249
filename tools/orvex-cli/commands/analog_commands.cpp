#include "acquisition/sample_format.h"
#include "board_commands.h"
#include "core/library_status.h"
#include "os/stop_request.h"

#include <orvex.h>

#include <cstdio>

namespace orvex_cli {

void analogRead(int channel, std::uint64_t count, double interval) {
    for (std::uint64_t k = 0; k < count && !stopRequested(); ++k) {
        if (k > 0) {
            sleepUnlessStopped(interval);
        }
        double volts = 0.0;
        checked(orvex_analogIn(channel, &volts));
        char text[40];
        *formatVolts(text, volts) = '\0';
        std::printf("%s\n", text);
        std::fflush(stdout);
    }
}

void analogWrite(int channel, double volts) {
    checked(orvex_analogOut(channel, volts));
}

void generate(Session &session, int channel, double rate, const std::vector<double> &block,
              std::optional<double> duration) {
    checked(orvex_analogOutClk("OnboardClock", rate));
    checked(orvex_analogOutTrigger(nullptr, 0.0));
    checked(orvex_analogWriteEx(channel, block.data(), static_cast<int>(block.size()), 10.0));
    session.setGeneratingChannel(channel);
    if (duration) {
        sleepUnlessStopped(*duration);
    } else if (session.inScript()) {
        return;
    } else {
        while (!stopRequested()) {
            sleepUnlessStopped(3600.0);
        }
    }
    stopGeneration(session, channel);
}

void stopGeneration(Session &session, int channel) {
    checked(orvex_analogOutStop(channel));
    session.setGeneratingChannel(-1);
}

} // namespace orvex_cli
