#include "control_kind.h"

#include "uiruntime/userint.h"
#include "widgets/led_indicator.h"
#include "widgets/panel_timer.h"
#include "widgets/xygraph.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <cmath>
#include <limits>

namespace panel {

namespace {

constexpr char unknownProperty[] = "valueUnknown";
constexpr char unknownText[] = "unknown";

bool shownUnknown(const QWidget *widget) {
    return widget->property(unknownProperty).toBool();
}

} // namespace

std::optional<ControlKind> kindForClassName(const QString &className) {
    struct ClassKind {
        const char *className;
        ControlKind kind;
    };
    static constexpr ClassKind classKinds[] = {
        {"QComboBox", ControlKind::Selector},          {"PanelTimer", ControlKind::Timer},
        {"QDoubleSpinBox", ControlKind::NumericField}, {"QCheckBox", ControlKind::Switch},
        {"QPushButton", ControlKind::CommandButton},   {"XYGraph", ControlKind::Graph},
        {"QLabel", ControlKind::TextMessage},
    };
    for (const ClassKind &known : classKinds) {
        if (className == QLatin1String(known.className)) {
            return known.kind;
        }
    }
    return std::nullopt;
}

// The runtime's own widgets are known by type: their class names carry this namespace,
// which panel files do not write.
std::optional<ControlKind> kindOfWidget(QWidget *widget) {
    if (auto *spinBox = qobject_cast<QDoubleSpinBox *>(widget)) {
        return spinBox->isReadOnly() ? ControlKind::NumericIndicator : ControlKind::NumericField;
    }
    if (qobject_cast<LedIndicator *>(widget)) {
        return ControlKind::Led;
    }
    if (qobject_cast<PanelTimer *>(widget)) {
        return ControlKind::Timer;
    }
    if (qobject_cast<XYGraph *>(widget)) {
        return ControlKind::Graph;
    }
    return kindForClassName(QString::fromLatin1(widget->metaObject()->className()));
}

int setControlValue(QWidget *widget, ControlKind kind, double value) {
    if (!std::isfinite(value)) {
        return UI_ERROR_BAD_VALUE;
    }
    // Values the program sets must never look like the user's: no signal may leave.
    const QSignalBlocker quiet(widget);
    if (shownUnknown(widget)) {
        setControlUnknown(widget, kind, false);
    }
    switch (kind) {
    case ControlKind::Selector: {
        auto *selector = static_cast<QComboBox *>(widget);
        const double index = std::round(value);
        if (index < 0 || index >= selector->count()) {
            return UI_ERROR_BAD_VALUE;
        }
        selector->setCurrentIndex(static_cast<int>(index));
        return 0;
    }
    case ControlKind::NumericField:
    case ControlKind::NumericIndicator:
        static_cast<QDoubleSpinBox *>(widget)->setValue(value);
        return 0;
    case ControlKind::Switch:
        static_cast<QCheckBox *>(widget)->setChecked(std::round(value) != 0.0);
        return 0;
    case ControlKind::Led:
        static_cast<LedIndicator *>(widget)->setOn(std::round(value) != 0.0);
        return 0;
    default: // timers, buttons, graphs and text messages hold no number
        return UI_ERROR_WRONG_KIND;
    }
}

int getControlValue(QWidget *widget, ControlKind kind, double *value) {
    if (shownUnknown(widget)) {
        *value = std::numeric_limits<double>::quiet_NaN();
        return 0;
    }
    switch (kind) {
    case ControlKind::Selector:
        *value = static_cast<QComboBox *>(widget)->currentIndex();
        return 0;
    case ControlKind::NumericField:
    case ControlKind::NumericIndicator:
        *value = static_cast<QDoubleSpinBox *>(widget)->value();
        return 0;
    case ControlKind::Switch:
        *value = static_cast<QCheckBox *>(widget)->isChecked() ? 1 : 0;
        return 0;
    case ControlKind::Led:
        *value = static_cast<LedIndicator *>(widget)->isOn() ? 1 : 0;
        return 0;
    default: // timers, buttons, graphs and text messages hold no number
        return UI_ERROR_WRONG_KIND;
    }
}

int setControlText(QWidget *widget, ControlKind kind, const QString &text) {
    if (kind != ControlKind::TextMessage) {
        return UI_ERROR_WRONG_KIND;
    }
    auto *label = static_cast<QLabel *>(widget);
    label->setText(text);
    label->setToolTip(text);
    return 0;
}

int setControlUnknown(QWidget *widget, ControlKind kind, bool unknown) {
    switch (kind) {
    case ControlKind::NumericIndicator: {
        // A spin box shows its special text, and no number, while it stands at its minimum.
        auto *display = static_cast<QDoubleSpinBox *>(widget);
        const QSignalBlocker quiet(display);
        display->setSpecialValueText(unknown ? QString::fromLatin1(unknownText) : QString());
        if (unknown) {
            display->setValue(display->minimum());
        }
        break;
    }
    case ControlKind::Led:
        static_cast<LedIndicator *>(widget)->setUnknown(unknown);
        break;
    default:
        return UI_ERROR_WRONG_KIND;
    }
    widget->setProperty(unknownProperty, unknown);
    return 0;
}

} // namespace panel
