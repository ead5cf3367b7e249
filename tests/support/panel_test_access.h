// Views into running panels for tests and benchmarks (the runtime's own and the
// application's); no program links them.
//
// Everything here runs on the user-interface thread after InitCVIRTEEx.  Unknown panels or
// controls give null pointers, false or NaN; nothing here changes what a panel holds.
#ifndef TESTS_SUPPORT_PANEL_TEST_ACCESS_H
#define TESTS_SUPPORT_PANEL_TEST_ACCESS_H

#include <QString>
#include <optional>

class QWidget;
namespace panel {
class XYGraph;
} // namespace panel

namespace panel_test {

// Starts the runtime for a test or benchmark program, on the offscreen platform unless
// QT_QPA_PLATFORM names another; false when it cannot start.
bool startRuntime(int argc, char **argv);

// The panel's window, as loaded from its file.
QWidget *panelWidget(int panel);

// The widget that shows the control: QPushButton, QComboBox, QDoubleSpinBox, QCheckBox,
// XYGraph, PanelTimer or, for created indicators, LedIndicator.
QWidget *controlWidget(int panel, int control);

// The graph control, for counting and inspecting what is plotted and rendering it.
panel::XYGraph *graphOf(int panel, int control);

// Delivers one timer tick now, exactly as the timer's interval would; false if the control
// is not a timer.  A stopped timer ticks too, so tests need not start it.
bool fireTimerTick(int panel, int control);

// The timer's interval in seconds and whether it runs; NaN / false if not a timer.
double timerInterval(int panel, int control);
bool timerRunning(int panel, int control);

// The text of the panel's status line, which shows the latest ErrorPrintf message.
QString statusText(int panel);

// From now on FileSelectPopup answers with this path (empty: the user cancelled) instead
// of asking; nullopt asks the user again.
void answerFilePopupsWith(std::optional<QString> path);

} // namespace panel_test

#endif
