#include "line_controls.h"

#include "callbacks/digital_panel.h"
#include "panel_frame.h"
#include "uiruntime/userint.h"

#include <cstdio>

namespace zelbrin {

namespace {

// A column of created controls, in the panel's units.
struct Column {
    int left;
    int firstTop;
    int spacing;

    int top(int row) const { return firstTop + spacing * row; }
};

// Line 15 in the top row, so the column reads like the port's bits; each line's button
// beside its indicator.
constexpr Column lineLeds = {0, 0, 30};
constexpr Column lineButtons = {40, 0, 30};
constexpr Column switchColumn = {130, 30, 60};

} // namespace

void createGUI() {
    char label[10];
    for (int i = 0; i < panelLines; ++i) {
        std::snprintf(label, sizeof label, "AD%d", i);
        const int row = panelLines - 1 - i;
        ledCtrl[i] =
            NewCtrl(panelHandle, CTRL_LED_NO_LABEL, nullptr, lineLeds.top(row), lineLeds.left);
        btnCtrl[i] = NewCtrl(panelHandle, CTRL_SQUARE_COMMAND_BUTTON, label, lineButtons.top(row),
                             lineButtons.left);
        SetCtrlAttribute(panelHandle, btnCtrl[i], ATTR_CALLBACK_FUNCTION_POINTER, ADbuttonCB);
    }
    for (int i = 1; i <= switchIndicators; ++i) {
        std::snprintf(label, sizeof label, "S%d", i);
        swCtrl[i] = NewCtrl(panelHandle, CTRL_LED_WITH_LABEL, label, switchColumn.top(i - 1),
                            switchColumn.left);
    }
}

} // namespace zelbrin
