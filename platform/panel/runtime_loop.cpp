// Start-up of the application object and the event loop the program runs in.
#include "status_line.h"
#include "userint.h"

#include <QApplication>
#include <QEventLoop>

namespace {

// The innermost running RunUserInterface, which QuitUserInterface ends.
QEventLoop *runningLoop = nullptr;

} // namespace

int InitCVIRTEEx(void *, char *argv[], void *) {
    if (!QCoreApplication::instance()) {
        // QApplication keeps references to argc and argv for its whole life, which is the
        // process's: it stays reachable from here until exit.
        static int argc = 0;
        while (argv && argv[argc])
            ++argc;
        static char fallbackName[] = "zelbrin";
        static char *fallbackArgv[] = {fallbackName, nullptr};
        if (argc == 0) {
            argc = 1;
            argv = fallbackArgv;
        }
        static QApplication *application = new QApplication(argc, argv);
        (void)application;
    }
    if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
        return 0; // a console-only application object cannot show windows
    // Only QuitUserInterface ends the program's loop, never a window going away.
    QApplication::setQuitOnLastWindowClosed(false);
    installErrorPrintSink();
    return 1;
}

int RunUserInterface(void) {
    if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
        return UI_ERROR_NOT_INITIALISED;
    QEventLoop loop;
    QEventLoop *const outer = runningLoop;
    runningLoop = &loop;
    const int code = loop.exec();
    runningLoop = outer;
    return code;
}

int QuitUserInterface(int code) {
    if (!runningLoop)
        return UI_ERROR_NOT_RUNNING;
    runningLoop->exit(code);
    return 0;
}
