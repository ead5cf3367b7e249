#include "panel_test_access.h"

#include "ops/file_popup.h"
#include "ops/panel_registry.h"
#include "uiruntime/userint.h"
#include "widgets/panel_timer.h"
#include "widgets/status_line.h"
#include "widgets/xygraph.h"

#include <QByteArray>
#include <QtGlobal>
#include <limits>
#include <vector>

namespace panel_test {

namespace {

panel::PanelTimer *timerOf(int panel, int control) {
    return qobject_cast<panel::PanelTimer *>(controlWidget(panel, control));
}

} // namespace

bool startRuntime(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    }
    // The application object keeps the first argv it was given for the life of the process.
    static std::vector<char *> arguments = [argc, argv] {
        std::vector<char *> terminated(argv, argv + argc);
        terminated.push_back(nullptr);
        return terminated;
    }();
    return InitCVIRTEEx(nullptr, arguments.data(), nullptr) != 0;
}

QWidget *panelWidget(int panel) {
    const panel::Result<panel::Panel *> found = panel::findPanel(panel);
    return found ? (*found)->window.get() : nullptr;
}

QWidget *controlWidget(int panel, int control) {
    const panel::Result<panel::Control *> found = panel::findControl(panel, control);
    return found ? (*found)->widget.data() : nullptr;
}

panel::XYGraph *graphOf(int panel, int control) {
    return qobject_cast<panel::XYGraph *>(controlWidget(panel, control));
}

bool fireTimerTick(int panel, int control) {
    panel::PanelTimer *timer = timerOf(panel, control);
    if (timer) {
        emit timer->tick(); // as the interval would
    }
    return timer != nullptr;
}

double timerInterval(int panel, int control) {
    const panel::PanelTimer *timer = timerOf(panel, control);
    return timer ? timer->interval() : std::numeric_limits<double>::quiet_NaN();
}

bool timerRunning(int panel, int control) {
    const panel::PanelTimer *timer = timerOf(panel, control);
    return timer && timer->isRunning();
}

QString statusText(int panel) {
    const QWidget *window = panelWidget(panel);
    return window ? panel::statusLineText(window) : QString();
}

void answerFilePopupsWith(std::optional<QString> path) {
    panel::setFilePopupAnswer(std::move(path));
}

} // namespace panel_test
