// Start-up of the application object and the event loop the program runs in.
#include "application_start.h"
#include "closing_signals.h"
#include "uiruntime/userint.h"
#include "widgets/status_line.h"

#include <QApplication>
#include <QEventLoop>
#include <optional>
#include <string>

namespace {

// The innermost running RunUserInterface, which QuitUserInterface ends.
QEventLoop *runningLoop = nullptr;

std::string startFailure;

} // namespace

int InitCVIRTEEx(void *, char *argv[], void *) {
    startFailure.clear();
    if (!QCoreApplication::instance()) {
        // QApplication keeps references to argc and argv for its whole life, which is the
        // process's: they stay reachable from here until exit.
        static int argc = 0;
        argc = 0;
        while (argv && argv[argc]) {
            ++argc;
        }
        static char fallbackName[] = "zelbrin";
        static char *fallbackArgv[] = {fallbackName, nullptr};
        if (argc == 0) {
            argc = 1;
            argv = fallbackArgv;
        }
        if (!panel::startApplication(argc, argv, &startFailure)) {
            return 0;
        }
    }
    if (!qobject_cast<QApplication *>(QCoreApplication::instance())) {
        startFailure = "a console-only application object exists, which cannot show windows";
        return 0;
    }
    // Only QuitUserInterface ends the program's loop, never a window going away.
    QApplication::setQuitOnLastWindowClosed(false);
    panel::installErrorPrintSink();
    return 1;
}

const char *RuntimeStartFailure(void) {
    return startFailure.c_str();
}

int RunUserInterface(void) {
    if (!qobject_cast<QApplication *>(QCoreApplication::instance())) {
        return UI_ERROR_NOT_INITIALISED;
    }
    QEventLoop loop;
    QEventLoop *const outer = runningLoop;
    std::optional<panel::ClosingSignalScope> closingSignals;
    if (!outer) {
        closingSignals.emplace();
    }
    runningLoop = &loop;
    const int code = loop.exec();
    runningLoop = outer;
    return code;
}

int QuitUserInterface(int code) {
    if (!runningLoop) {
        return UI_ERROR_NOT_RUNNING;
    }
    runningLoop->exit(code);
    return 0;
}
