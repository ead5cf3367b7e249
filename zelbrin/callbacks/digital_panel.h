// The digital side of the panel: sixteen line buttons and indicators over ports 0 and 1,
// all-0 / all-1, the direction selector and the refresh timer.
#ifndef ZELBRIN_CALLBACKS_DIGITAL_PANEL_H
#define ZELBRIN_CALLBACKS_DIGITAL_PANEL_H

#include <cstdint>

namespace zelbrin {

// Last known state of ports 0 and 1: bit i is panel line i (low byte port 0).
extern std::uint16_t portBits;
// Direction last chosen on the selector: 0 = inputs, 1 = outputs.
extern int mode;

// The panel line whose button has this control ID, or -1.
int AD_btn2index(int control);
// Reads port 1, then port 0, into portBits and returns it.
std::uint16_t readPorts();
// Whether the last read of port 0 or 1 succeeded (false before the first read).
bool portByteKnown(int port);
// Drives port 0 with the low byte, then port 1 with the high byte.
void writePorts(std::uint16_t bits);

} // namespace zelbrin

extern "C" {
int ADbuttonCB(int panel, int control, int event, void *callbackData, int eventData1,
               int eventData2);
int all0CB(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int all1CB(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int modeCB(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int timerUpdateGuiCB(int panel, int control, int event, void *callbackData, int eventData1,
                     int eventData2);
int updateIntervalCB(int panel, int control, int event, void *callbackData, int eventData1,
                     int eventData2);
}

#endif
