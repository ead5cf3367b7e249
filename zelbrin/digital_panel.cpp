#include "digital_panel.h"

#include "orvex.h"
#include "panel_frame.h"
#include "panel_message.h"
#include "userint.h"

#include <cstdio>

std::uint16_t portBits = 0;
int mode = 0;

namespace {

constexpr int LINES_PER_PORT = 8;
// S1 to S4 show port 1 lines 4 to 7, which are panel lines 12 to 15.
constexpr int FIRST_SWITCH_LINE = 11;

// Whether the last read of each of ports 0 and 1 succeeded.
bool portKnown[2] = {false, false};

// A read that failed, or that found the port not set up and read nothing, leaves the
// port's byte as it was, so that a line press after it
// drives the other lines with what was last known rather than with a made-up value; the
// indicators show the port as unknown.
void readPortByte(int port) {
    unsigned char value = 0;
    const int status = orvex_portIn(port, &value);
    libErrChk(status);
    portKnown[port] = status >= 0 && status != STATUS_NO_DRIVER_CALL;
    if (!portKnown[port]) {
        return;
    }
    const int shift = LINES_PER_PORT * port;
    portBits = static_cast<std::uint16_t>((portBits & ~(0xFF << shift)) | (value << shift));
}

void setPortDirections(unsigned char mask) {
    libErrChk(orvex_portMask(0, mask));
    libErrChk(orvex_portMask(1, mask));
}

void showLine(int panel, int control, bool known, int value) {
    if (known) {
        SetCtrlVal(panel, control, value);
    } else {
        SetCtrlAttribute(panel, control, ATTR_VALUE_UNKNOWN, 1);
    }
}

// In input mode a press only changes the value the library keeps for the port.
void tellLineKept(int panel, int line) {
    char text[160];
    std::snprintf(text, sizeof text,
                  "P%d.%d = %d is kept for later: ports 0 and 1 are inputs. It is driven once "
                  "Direction is outputs.",
                  line / LINES_PER_PORT, line % LINES_PER_PORT, (portBits >> line) & 1);
    showMessage(panel, text, MessageKind::Note);
}

} // namespace

bool portByteKnown(int port) {
    return port >= 0 && port < 2 && portKnown[port];
}

int AD_btn2index(int control) {
    for (int i = 0; i < PANEL_LINES; ++i) {
        if (btnCtrl[i] == control) {
            return i;
        }
    }
    return -1;
}

std::uint16_t readPorts() {
    readPortByte(1);
    readPortByte(0);
    return portBits;
}

void writePorts(std::uint16_t bits) {
    libErrChk(orvex_portOut(0, static_cast<unsigned char>(bits & 0xFF)));
    libErrChk(orvex_portOut(1, static_cast<unsigned char>((bits >> LINES_PER_PORT) & 0xFF)));
}

int ADbuttonCB(int panel, int control, int event, void *, int, int) {
    if (event != EVENT_COMMIT) {
        return 0;
    }
    const int line = AD_btn2index(control);
    // Flip relative to what the board reports now, not to the button's own state.
    readPorts();
    if (line >= 0) {
        portBits ^= static_cast<std::uint16_t>(1u << line);
    }
    writePorts(portBits);
    if (line >= 0 && mode == 0) {
        tellLineKept(panel, line);
    }
    return 0;
}

int all0CB(int, int, int event, void *, int, int) {
    if (event == EVENT_COMMIT) {
        writePorts(0x0000);
    }
    return 0;
}

int all1CB(int, int, int event, void *, int, int) {
    if (event == EVENT_COMMIT) {
        writePorts(0xFFFF);
    }
    return 0;
}

int modeCB(int panel, int, int event, void *, int, int) {
    if (event != EVENT_COMMIT) {
        return 0;
    }
    GetCtrlVal(panel, PANEL_MODE, &mode);
    if (mode == 0) {
        setPortDirections(0x00);
    } else if (mode == 1) {
        setPortDirections(0xFF);
    }
    return 0;
}

int timerUpdateGuiCB(int panel, int, int event, void *, int, int) {
    if (event != EVENT_TIMER_TICK) {
        return 0;
    }
    readPorts();
    for (int i = 0; i < PANEL_LINES; ++i) {
        showLine(panel, ledCtrl[i], portKnown[i / LINES_PER_PORT], portBits & (1 << i));
    }
    // The stand's switches pull their lines low when pressed.
    for (int i = 1; i <= SWITCH_INDICATORS; ++i) {
        const bool lineHigh = (portBits & (1 << (i + FIRST_SWITCH_LINE))) != 0;
        showLine(panel, swCtrl[i], portKnown[1], lineHigh ? 0 : 1);
    }
    return 0;
}

int updateIntervalCB(int panel, int control, int event, void *, int, int) {
    intervalFieldEvent(panel, control, event, PANEL_GUI_TIMER, "Refresh every");
    return 0;
}
