// Control values and attributes.
#include "panel_registry.h"
#include "paneltimer.h"
#include "userint.h"
#include "xygraph.h"

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

int setTextColour(Control &target, int rgb) {
    if (target.kind != ControlKind::TextMessage)
        return UI_ERROR_WRONG_KIND;
    if (rgb < 0 || rgb > 0xFFFFFF)
        return UI_ERROR_BAD_VALUE;
    QPalette palette = target.widget->palette();
    palette.setColor(QPalette::WindowText, QColor::fromRgb(static_cast<QRgb>(rgb)));
    target.widget->setPalette(palette);
    return 0;
}

// The operations that take text: the control must exist and the text must be given.
template <typename Operation>
int withText(int panel, int control, const char *text, Operation operation) {
    int error = 0;
    Control *target = findControl(panel, control, &error);
    if (!target)
        return error;
    if (!text)
        return UI_ERROR_BAD_VALUE;
    return operation(*target, QString::fromLocal8Bit(text));
}

} // namespace

int SetCtrlAttribute(int panel, int control, int attribute, int value) {
    if (attribute == ATTR_INTERVAL)
        return setInterval(panel, control, value);
    int error = 0;
    Control *target = findControl(panel, control, &error);
    if (!target)
        return error;
    if (attribute == ATTR_VALUE_UNKNOWN)
        return setControlUnknown(target->widget, target->kind, value != 0);
    if (attribute == ATTR_TEXT_COLOR)
        return setTextColour(*target, value);
    return UI_ERROR_WRONG_KIND;
}

int SetCtrlAttribute(int panel, int control, int attribute, const char *text) {
    return withText(panel, control, text, [attribute](Control &target, const QString &title) {
        if (target.kind != ControlKind::Graph ||
            (attribute != ATTR_XNAME && attribute != ATTR_YNAME))
            return int{UI_ERROR_WRONG_KIND};
        auto *graph = static_cast<XYGraph *>(target.widget.data());
        if (attribute == ATTR_XNAME)
            graph->setXTitle(title);
        else
            graph->setYTitle(title);
        return 0;
    });
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

int SetCtrlVal(int panel, int control, const char *text) {
    return withText(panel, control, text, [](Control &target, const QString &value) {
        return setControlText(target.widget, target.kind, value);
    });
}

int SaveCtrlDisplayToPNG(int panel, int control, const char *path) {
    return withText(panel, control, path, [](Control &target, const QString &file) {
        return target.widget->grab().save(file, "PNG") ? 0 : int{UI_ERROR_FILE};
    });
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
    if (std::isnan(shown))
        return UI_ERROR_BAD_VALUE; // an unknown value has no int
    // A double control read as int: the nearest int, held to the int range.
    *value = static_cast<int>(std::clamp(std::round(shown), double(INT_MIN), double(INT_MAX)));
    return result;
}
