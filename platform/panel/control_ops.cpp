// Control values and attributes.
#include "panel_registry.h"
#include "paneltimer.h"
#include "userint.h"

#include <climits>
#include <cmath>

namespace {

int setValue(int panel, int control, double value) {
    int error = 0;
    Control *target = findControl(panel, control, &error);
    return target ? setControlValue(target->widget, target->kind, value) : error;
}

int setInterval(int panel, int control, double seconds) {
    int error = 0;
    Control *target = findControl(panel, control, &error);
    if (!target)
        return error;
    if (target->kind != ControlKind::Timer)
        return UI_ERROR_WRONG_KIND;
    return static_cast<PanelTimer *>(target->widget.data())->setInterval(seconds)
               ? 0
               : UI_ERROR_BAD_VALUE;
}

} // namespace

int SetCtrlAttribute(int panel, int control, int attribute, int value) {
    if (attribute == ATTR_INTERVAL)
        return setInterval(panel, control, value);
    int error = 0;
    return findControl(panel, control, &error) ? UI_ERROR_WRONG_KIND : error;
}

int SetCtrlAttribute(int panel, int control, int attribute, double value) {
    if (attribute == ATTR_INTERVAL)
        return setInterval(panel, control, value);
    int error = 0;
    return findControl(panel, control, &error) ? UI_ERROR_WRONG_KIND : error;
}

int SetCtrlAttribute(int panel, int control, int attribute, CtrlCallbackPtr callback) {
    int error = 0;
    Control *target = findControl(panel, control, &error);
    if (!target)
        return error;
    if (attribute != ATTR_CALLBACK_FUNCTION_POINTER)
        return UI_ERROR_WRONG_KIND;
    target->callback = callback;
    return 0;
}

int SetCtrlVal(int panel, int control, int value) {
    return setValue(panel, control, value);
}

int SetCtrlVal(int panel, int control, double value) {
    return setValue(panel, control, value);
}

int GetCtrlVal(int panel, int control, double *value) {
    int error = 0;
    Control *target = findControl(panel, control, &error);
    if (!target)
        return error;
    if (!value)
        return UI_ERROR_BAD_VALUE;
    return getControlValue(target->widget, target->kind, value);
}

int GetCtrlVal(int panel, int control, int *value) {
    if (!value)
        return UI_ERROR_BAD_VALUE;
    double shown = 0.0;
    const int result = GetCtrlVal(panel, control, &shown);
    if (result < 0)
        return result;
    // A double control read as int: the nearest int, held to the int range.
    *value = static_cast<int>(std::clamp(std::round(shown), double(INT_MIN), double(INT_MAX)));
    return result;
}
