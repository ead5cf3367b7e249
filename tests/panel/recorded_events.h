// The callbacks the test panel names, and what they were called with.
#ifndef TESTS_PANEL_RECORDED_EVENTS_H
#define TESTS_PANEL_RECORDED_EVENTS_H

#include <functional>
#include <string>
#include <vector>

struct RecordedEvent {
    int panel;
    int control; // 0 for panel events
    int event;
    bool operator==(const RecordedEvent &) const = default;
};

struct EventLog {
    std::vector<RecordedEvent> events; // control and panel events, timer ticks of testTimerCB apart
    int timerTicks = 0;
    // Runs inside testControlCB and testPanelCB (control 0), after the event is recorded.
    std::function<void(int panel, int control, int event)> reaction;
};

EventLog &eventLog();
void resetEventLog();

// The absolute path of a file of this test folder.
std::string testFile(const char *name);

extern "C" {
int testPanelCB(int panel, int event, void *callbackData, int eventData1, int eventData2);
int testControlCB(int panel, int control, int event, void *callbackData, int eventData1,
                  int eventData2);
int testTimerCB(int panel, int control, int event, void *callbackData, int eventData1,
                int eventData2);
}

#endif
