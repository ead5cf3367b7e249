#include "digital_panel.h"

#include "interval_fields.h"
#include "logic/port_lines.h"
#include "uiruntime/userint.h"
#include "window/message_line.h"
#include "window/panel_frame.h"
#include <orvex.h>

namespace zelbrin {

std::uint16_t portBits = 0;
int mode = 0;

namespace {

// Whether the last read of each of ports 0 and 1 read anything.
std::array<bool, panelPorts> portKnown = {false, false};

void readPortByte(int port) {
    std::uint8_t value = 0;
    const int status = orvex_portIn(port, &value);
    libErrChk(status);
    const PortLines read = afterPortRead({portBits, portKnown}, port, status, value);
    portBits = read.bits;
    portKnown = read.known;
}

void setPortDirections(std::uint8_t mask) {
    libErrChk(orvex_portMask(0, mask));
    libErrChk(orvex_portMask(1, mask));
}

void show(int panel, int control, const Indicator &indicator) {
    if (indicator.known) {
        SetCtrlVal(panel, control, indicator.value);
    } else {
        SetCtrlAttribute(panel, control, ATTR_VALUE_UNKNOWN, 1);
    }
}

} // namespace

bool portByteKnown(int port) {
    return port >= 0 && port < panelPorts && portKnown[port];
}

int AD_btn2index(int control) {
    for (int i = 0; i < panelLines; ++i) {
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
    libErrChk(orvex_portOut(0, portByte(bits, 0)));
    libErrChk(orvex_portOut(1, portByte(bits, 1)));
}

} // namespace zelbrin

using namespace zelbrin;

int ADbuttonCB(int panel, int control, int event, void *, int, int) {
    if (event != EVENT_COMMIT) {
        return 0;
    }
    const int line = AD_btn2index(control);
    // Flip relative to what the board reports now, not to the button's own state.
    readPorts();
    const LinePress press = pressLine(portBits, line, mode);
    portBits = press.drive;
    writePorts(portBits);
    if (press.keptForLater) {
        showMessage(panel, keptLineNote(line, portBits), MessageKind::Note);
    }
    return 0;
}

int all0CB(int, int, int event, void *, int, int) {
    if (event == EVENT_COMMIT) {
        writePorts(allLinesLow);
    }
    return 0;
}

int all1CB(int, int, int event, void *, int, int) {
    if (event == EVENT_COMMIT) {
        writePorts(allLinesHigh);
    }
    return 0;
}

int modeCB(int panel, int, int event, void *, int, int) {
    if (event != EVENT_COMMIT) {
        return 0;
    }
    GetCtrlVal(panel, PANEL_MODE, &mode);
    if (const std::optional<std::uint8_t> mask = directionMask(mode)) {
        setPortDirections(*mask);
    }
    return 0;
}

int timerUpdateGuiCB(int panel, int, int event, void *, int, int) {
    if (event != EVENT_TIMER_TICK) {
        return 0;
    }
    readPorts();
    const PanelIndicators shown = indicatorsFor({portBits, portKnown});
    for (int i = 0; i < panelLines; ++i) {
        show(panel, ledCtrl[i], shown.lines[i]);
    }
    for (int s = 1; s <= switchIndicators; ++s) {
        show(panel, swCtrl[s], shown.switches[s - 1]);
    }
    return 0;
}

int updateIntervalCB(int panel, int control, int event, void *, int, int) {
    intervalFieldEvent(panel, control, event, PANEL_GUI_TIMER, "Refresh every");
    return 0;
}
