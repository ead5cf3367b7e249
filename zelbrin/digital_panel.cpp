#include "digital_panel.h"

#include "orvex.h"
#include "panel_frame.h"
#include "userint.h"

std::uint16_t portBits = 0;
int mode = 0;

namespace {

constexpr int LINES_PER_PORT = 8;
// S1 to S4 show port 1 lines 4 to 7, which are panel lines 12 to 15.
constexpr int FIRST_SWITCH_LINE = 11;

// A read that failed leaves the port's byte as it was, so that a line press after it
// drives the other lines with what was last known rather than with a made-up value.
void readPortByte(int port) {
    unsigned char value = 0;
    const int status = orvex_portIn(port, &value);
    libErrChk(status);
    if (status < 0) {
        return;
    }
    const int shift = LINES_PER_PORT * port;
    portBits = static_cast<std::uint16_t>((portBits & ~(0xFF << shift)) | (value << shift));
}

void setPortDirections(unsigned char mask) {
    libErrChk(orvex_portMask(0, mask));
    libErrChk(orvex_portMask(1, mask));
}

} // namespace

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

int ADbuttonCB(int, int control, int event, void *, int, int) {
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
        SetCtrlVal(panel, ledCtrl[i], portBits & (1 << i));
    }
    // The stand's switches pull their lines low when pressed.
    for (int i = 1; i <= SWITCH_INDICATORS; ++i) {
        const bool lineHigh = (portBits & (1 << (i + FIRST_SWITCH_LINE))) != 0;
        SetCtrlVal(panel, swCtrl[i], lineHigh ? 0 : 1);
    }
    return 0;
}

int updateIntervalCB(int panel, int control, int event, void *, int, int) {
    if (event == EVENT_COMMIT) {
        setTimerIntervalFromField(panel, control, PANEL_GUI_TIMER);
    }
    return 0;
}
