#include "application_start.h"

#include "display_check.h"
#include "host/pooled_threads.h"

#include <QApplication>
#include <QByteArray>
#include <QString>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace panel {

namespace {

struct HeldMessage {
    QtMsgType type;
    QByteArray category;
    QString text;
};

// Qt's messages while the platform starts: given on afterwards, or, when the start is
// fatal, the first of them names the cause.
std::vector<HeldMessage> heldMessages;
const char *startingProgram = "";

QString firstLine(const QString &text) {
    return text.section(QLatin1Char('\n'), 0, 0).trimmed();
}

void holdOrGiveUp(QtMsgType type, const QMessageLogContext &context, const QString &text) {
    if (type != QtFatalMsg) {
        heldMessages.push_back({type, context.category, text});
        return;
    }
    const QString cause = heldMessages.empty() ? text : heldMessages.front().text;
    std::fprintf(stderr, "%s: the user-interface runtime cannot start: %s\n", startingProgram,
                 qPrintable(firstLine(cause)));
    std::fflush(stderr);
    std::_Exit(1); // Qt would abort: no core file and no second line for a missing platform
}

void giveOnHeldMessages() {
    for (const HeldMessage &held : heldMessages) {
        const QMessageLogger logger(nullptr, 0, nullptr, held.category.constData());
        switch (held.type) {
        case QtDebugMsg:
            logger.debug("%s", qPrintable(held.text));
            break;
        case QtInfoMsg:
            logger.info("%s", qPrintable(held.text));
            break;
        case QtWarningMsg:
            logger.warning("%s", qPrintable(held.text));
            break;
        default:
            logger.critical("%s", qPrintable(held.text));
            break;
        }
    }
    heldMessages.clear();
}

} // namespace

bool startApplication(int &argc, char *argv[], std::string *whyNot) {
    // Let go only once the application object has made its own connection.
    const tl::expected<HeldDisplay, std::string> display = reachDisplay(argv);
    if (!display) {
        *whyNot = display.error();
        return false;
    }
    const char *path = argc > 0 && argv[0] ? argv[0] : "";
    const char *slash = std::strrchr(path, '/');
    startingProgram = slash ? slash + 1 : path;
    const QtMessageHandler previous = qInstallMessageHandler(holdOrGiveUp);
    host::awaitPooledThreadsAtExit();
    // Lives as long as the process, as QApplication keeps argc and argv.
    static QApplication *application = new QApplication(argc, argv);
    (void)application;
    qInstallMessageHandler(previous);
    giveOnHeldMessages();
    return true;
}

} // namespace panel
