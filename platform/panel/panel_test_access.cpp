#include "panel_test_access.h"

#include "file_popup.h"
#include "panel_registry.h"
#include "paneltimer.h"
#include "status_line.h"
#include "xygraph.h"

#include <limits>

namespace panel_test {

namespace {

PanelTimer *timerOf(int panel, int control) {
    return qobject_cast<PanelTimer *>(controlWidget(panel, control));
}

} // namespace

QWidget *panelWidget(int panel) {
    const Panel *found = findPanel(panel);
    return found ? found->window.get() : nullptr;
}

QWidget *controlWidget(int panel, int control) {
    int error = 0;
    const Control *found = findControl(panel, control, &error);
    return found ? found->widget.data() : nullptr;
}

XYGraph *graphOf(int panel, int control) {
    return qobject_cast<XYGraph *>(controlWidget(panel, control));
}

bool fireTimerTick(int panel, int control) {
    PanelTimer *timer = timerOf(panel, control);
    if (timer)
        timer->tickNow();
    return timer != nullptr;
}

double timerInterval(int panel, int control) {
    const PanelTimer *timer = timerOf(panel, control);
    return timer ? timer->interval() : std::numeric_limits<double>::quiet_NaN();
}

bool timerRunning(int panel, int control) {
    const PanelTimer *timer = timerOf(panel, control);
    return timer && timer->isRunning();
}

QString statusText(int panel) {
    const QWidget *window = panelWidget(panel);
    return window ? statusLineText(window) : QString();
}

void answerFilePopupsWith(std::optional<QString> path) {
    setFilePopupAnswer(std::move(path));
}

} // namespace panel_test
