// orvex-scope: live signals of the board's analog inputs over time, triggered, measured and
// zoomable, beside the lab window.
#include "host/pooled_threads.h"
#include "live_measurement.h"
#include "window/scope_window.h"

#include <orvex.h>

#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>

int main(int argc, char **argv) {
    host::awaitPooledThreadsAtExit();
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
    const QCommandLineOption measure(
        "measure",
        "Start the scan, and after SECONDS stop it, print the frames drawn, the processor "
        "time taken and the samples in the history against the board's count, and end.",
        "seconds");
    parser.addOption(measure);
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
    if (parser.isSet(measure)) {
        bool ok = false;
        const double seconds = parser.value(measure).toDouble(&ok);
        if (!ok || !(seconds > 0.0)) {
            std::fprintf(stderr, "orvex-scope: --measure takes a time in seconds\n");
            return 2;
        }
        new scope::LiveMeasurement(window, seconds);
    } else if (parser.isSet(run)) {
        window.run();
    }
    const int status = QApplication::exec();
    orvex_ni6251Close();
    return status;
}
