// The process's one scan: the set-up that the set-up calls store and the start hands to
// the driver, and what the running scan turned out to be.
#ifndef ORVEX_SRC_SCAN_SCAN_SETUP_H
#define ORVEX_SRC_SCAN_SCAN_SETUP_H

#include "channel_list.h"
#include "core/operation_ending.h"

#include <vector>

namespace orvex {

enum class TriggerKind { None, AnalogEdge, DigitalEdge };

struct ScanTrigger {
    TriggerKind kind = TriggerKind::None;
    int source = 0; // an input, or a PFI line
    double level = 0.0;
    int slope = ORVEX_RISING;
};

// Outputs generated in step with the scan.  channelCount 0: none.
struct InStepOutput {
    int firstChannel = 0;
    int channelCount = 0;
    std::vector<double> samples; // interleaved by scan, as they are written
    int samplesPerChannel = 0;
    bool shareClock = true;
    double rate = 1000.0;
};

struct ScanSetup {
    ChannelList channels;
    double rate = 1000.0;
    ScanTrigger trigger;
    InStepOutput output;
};

struct ScanRun {
    int channels = 0;
    bool triggered = false;
    double rate = 0.0;
    double channelStep = 0.0;
    long long samplesRead = 0;
    double startTime = 0.0;
    double startTimeUncertainty = 0.0;
    int startTimeSource = ORVEX_TIME_UNKNOWN;
    // A read by channel goes through here: the driver's pieces arrive by scan.
    std::vector<double> byScan;
};

extern ScanSetup scanSetup;
extern ScanRun scanRun;

bool scanRunning();

} // namespace orvex

// Refuses with a message of the moment; the check's line is the caller's.
#define ORVEX_SCAN_CHECK(condition, expression, message)                                           \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            return ::orvex::refuse(::orvex::CheckSite{__LINE__, (expression), (message)});         \
        }                                                                                          \
    } while (0)

#endif
