// Control values and attributes.
#include "panel_registry.h"
#include "uiruntime/userint.h"
#include "widgets/panel_timer.h"
#include "widgets/xygraph.h"

#include <climits>
#include <cmath>

using panel::Control;
using panel::ControlKind;
using panel::withControl;

namespace {

int setValue(int panel, int control, double value) {
    return withControl(panel, control, [value](Control &target) {
        return panel::setControlValue(target.widget, target.kind, value);
    });
}

int setInterval(int panel, int control, double seconds) {
    return withControl(panel, control, [seconds](Control &target) {
        if (target.kind != ControlKind::Timer) {
            return int{UI_ERROR_WRONG_KIND};
        }
        return static_cast<panel::PanelTimer *>(target.widget.data())->setInterval(seconds)
                   ? 0
                   : int{UI_ERROR_BAD_VALUE};
    });
}

int setTextColour(Control &target, int rgb) {
    if (target.kind != ControlKind::TextMessage) {
        return UI_ERROR_WRONG_KIND;
    }
    if (rgb < 0 || rgb > 0xFFFFFF) {
        return UI_ERROR_BAD_VALUE;
    }
    QPalette palette = target.widget->palette();
    palette.setColor(QPalette::WindowText, QColor::fromRgb(static_cast<QRgb>(rgb)));
    target.widget->setPalette(palette);
    return 0;
}

// The operations that take text: the control must exist and the text must be given.
template <typename Operation>
int withText(int panel, int control, const char *text, Operation operation) {
    return withControl(panel, control, [text, &operation](Control &target) {
        return text ? operation(target, QString::fromLocal8Bit(text)) : int{UI_ERROR_BAD_VALUE};
    });
}

} // namespace

int SetCtrlAttribute(int panel, int control, int attribute, int value) {
    if (attribute == ATTR_INTERVAL) {
        return setInterval(panel, control, value);
    }
    return withControl(panel, control, [attribute, value](Control &target) {
        if (attribute == ATTR_VALUE_UNKNOWN) {
            return panel::setControlUnknown(target.widget, target.kind, value != 0);
        }
        if (attribute == ATTR_TEXT_COLOR) {
            return setTextColour(target, value);
        }
        return int{UI_ERROR_WRONG_KIND};
    });
}

int SetCtrlAttribute(int panel, int control, int attribute, const char *text) {
    return withText(panel, control, text, [attribute](Control &target, const QString &title) {
        if (target.kind != ControlKind::Graph ||
            (attribute != ATTR_XNAME && attribute != ATTR_YNAME)) {
            return int{UI_ERROR_WRONG_KIND};
        }
        auto *graph = static_cast<panel::XYGraph *>(target.widget.data());
        if (attribute == ATTR_XNAME) {
            graph->setXTitle(title);
        } else {
            graph->setYTitle(title);
        }
        return 0;
    });
}

int SetCtrlAttribute(int panel, int control, int attribute, double value) {
    if (attribute == ATTR_INTERVAL) {
        return setInterval(panel, control, value);
    }
    return withControl(panel, control, [](Control &) { return int{UI_ERROR_WRONG_KIND}; });
}

int SetCtrlAttribute(int panel, int control, int attribute, CtrlCallbackPtr callback) {
    return withControl(panel, control, [attribute, callback](Control &target) {
        if (attribute != ATTR_CALLBACK_FUNCTION_POINTER) {
            return int{UI_ERROR_WRONG_KIND};
        }
        target.callback = callback;
        return 0;
    });
}

int SetCtrlVal(int panel, int control, int value) {
    return setValue(panel, control, value);
}

int SetCtrlVal(int panel, int control, double value) {
    return setValue(panel, control, value);
}

int SetCtrlVal(int panel, int control, const char *text) {
    return withText(panel, control, text, [](Control &target, const QString &value) {
        return panel::setControlText(target.widget, target.kind, value);
    });
}

int SaveCtrlDisplayToPNG(int panel, int control, const char *path) {
    return withText(panel, control, path, [](Control &target, const QString &file) {
        return target.widget->grab().save(file, "PNG") ? 0 : int{UI_ERROR_FILE};
    });
}

int GetCtrlVal(int panel, int control, double *value) {
    return withControl(panel, control, [value](Control &target) {
        return value ? panel::getControlValue(target.widget, target.kind, value)
                     : int{UI_ERROR_BAD_VALUE};
    });
}

int GetCtrlVal(int panel, int control, int *value) {
    if (!value) {
        return UI_ERROR_BAD_VALUE;
    }
    double shown = 0.0;
    const int result = GetCtrlVal(panel, control, &shown);
    if (result < 0) {
        return result;
    }
    if (std::isnan(shown)) {
        return UI_ERROR_BAD_VALUE; // an unknown value has no int
    }
    // A double control read as int: the nearest int, held to the int range.
    *value = static_cast<int>(std::clamp(std::round(shown), double(INT_MIN), double(INT_MAX)));
    return result;
}
