#include "axis_titles.h"

#include "panel_frame.h"
#include "uiruntime/userint.h"

namespace zelbrin {

namespace {

bool switchOn(int panel, int control) {
    int value = 0;
    GetCtrlVal(panel, control, &value);
    return value != 0;
}

} // namespace

std::string axisTitle(char axis, bool swapped, bool raw, bool calibrated) {
    const bool isX = axis == 'X';
    const std::string input = isX != swapped ? "AI2" : "AI3";
    std::string title = std::string(1, axis) + ": " + input;
    if (raw && calibrated) {
        return title + " in V (red), calibrated -1 to +1 (green)";
    }
    if (raw) {
        return title + " in V";
    }
    if (calibrated) {
        return title + " calibrated, -1 to +1";
    }
    return title;
}

void showAxisTitles(int panel) {
    const bool swapped = switchOn(panel, PANEL_SWAP);
    const bool raw = switchOn(panel, PANEL_SHOW_RAW);
    const bool calibrated = switchOn(panel, PANEL_SHOW_NORM);
    SetCtrlAttribute(panel, PANEL_GRAPH, ATTR_XNAME,
                     axisTitle('X', swapped, raw, calibrated).c_str());
    SetCtrlAttribute(panel, PANEL_GRAPH, ATTR_YNAME,
                     axisTitle('Y', swapped, raw, calibrated).c_str());
}

} // namespace zelbrin

using namespace zelbrin;

int axisTitlesCB(int panel, int, int event, void *, int, int) {
    if (event == EVENT_COMMIT) {
        showAxisTitles(panel);
    }
    return 0;
}
