// The kinds of control a panel can hold, and their values as the program sees them.
#ifndef PLATFORM_UIRUNTIME_PANEL_OPS_CONTROL_KIND_H
#define PLATFORM_UIRUNTIME_PANEL_OPS_CONTROL_KIND_H

#include <QString>
#include <optional>

class QWidget;

namespace panel {

enum class ControlKind {
    Selector,         // QComboBox; int, the index of the chosen item
    Timer,            // PanelTimer; no value
    NumericField,     // QDoubleSpinBox; double
    NumericIndicator, // read-only QDoubleSpinBox; double
    Switch,           // QCheckBox; int 0 or 1
    CommandButton,    // QPushButton; no value
    Graph,            // XYGraph; no value
    Led,              // LedIndicator (created at run time); int 0 or 1
    TextMessage,      // QLabel; text
};

// The kind a panel file may give by widget class, or nothing for a class no control has.
// A QDoubleSpinBox is reported as a field; the loaded widget says whether it is read-only.
std::optional<ControlKind> kindForClassName(const QString &className);
// The kind of a built widget, or nothing for a class no control has.
std::optional<ControlKind> kindOfWidget(QWidget *widget);

// Value access; each returns 0 or a negative UI_ERROR_ code.  An int given to a double
// control is converted, a double given to an int control is rounded; any nonzero int
// turns a switch or an indicator on.
int setControlValue(QWidget *widget, ControlKind kind, double value);
int getControlValue(QWidget *widget, ControlKind kind, double *value);
int setControlText(QWidget *widget, ControlKind kind, const QString &text);

// An indicator or display whose value is not known shows neither a value nor off; its
// value reads as not a number until the next value is set.
int setControlUnknown(QWidget *widget, ControlKind kind, bool unknown);

} // namespace panel

#endif
