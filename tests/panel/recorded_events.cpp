#include "recorded_events.h"

EventLog &eventLog() {
    static EventLog log;
    return log;
}

void resetEventLog() {
    eventLog() = EventLog{};
}

std::string testFile(const char *name) {
    return std::string(PANEL_TEST_DIR "/") + name;
}

extern "C" {

int testPanelCB(int panel, int event, void *, int, int) {
    eventLog().events.push_back({panel, 0, event});
    if (eventLog().reaction) {
        eventLog().reaction(panel, 0, event);
    }
    return 0;
}

int testControlCB(int panel, int control, int event, void *, int, int) {
    eventLog().events.push_back({panel, control, event});
    if (eventLog().reaction) {
        eventLog().reaction(panel, control, event);
    }
    return 0;
}

int testTimerCB(int, int, int event, void *, int, int) {
    if (event == 15) {
        ++eventLog().timerTicks;
    }
    return 0;
}
}
