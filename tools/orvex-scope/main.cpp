// orvex-scope: live signals of the board's analog inputs over time, triggered, measured and
// zoomable, beside the lab window.
#include "window/scope_window.h"

#include <orvex.h>

#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>

int main(int argc, char **argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName("orvex-scope");
    QApplication::setApplicationVersion(ORVEX_SCOPE_VERSION);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "The board's analog inputs and digital lines over time, triggered, measured and "
        "zoomable.  The board driver is the one ORVEX_DRIVER names.");
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption run("run", "Start the scan at once.");
    parser.addOption(run);
    parser.addPositionalArgument("setup", "A setup file saved by the scope, loaded at start.",
                                 "[setup]");
    parser.process(application);

    scope::ScopeWindow window;
    const QStringList files = parser.positionalArguments();
    if (!files.isEmpty() && !window.loadSetup(files.front())) {
        std::fprintf(stderr, "orvex-scope: %s is no scope setup\n", qPrintable(files.front()));
        return 2;
    }
    window.show();
    if (parser.isSet(run)) {
        window.run();
    }
    const int status = QApplication::exec();
    orvex_ni6251Close();
    return status;
}
