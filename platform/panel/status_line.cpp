#include "status_line.h"

#include "runtime_text.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QPointer>
#include <QThread>
#include <vector>

namespace {

constexpr char kObjectName[] = "panelStatusLine";

struct ErrorLog {
    int count = 0;
    QString latest;
    std::vector<QPointer<QLabel>> lines;
};

ErrorLog &errorLog() {
    static ErrorLog log;
    return log;
}

QString statusText() {
    const ErrorLog &log = errorLog();
    if (log.count == 0)
        return {};
    return QStringLiteral("%1 error message%2 - latest: %3")
        .arg(log.count)
        .arg(log.count == 1 ? "" : "s")
        .arg(log.latest);
}

void showOnAllLines() {
    const QString text = statusText();
    std::erase_if(errorLog().lines, [](const QPointer<QLabel> &line) { return line.isNull(); });
    for (const QPointer<QLabel> &line : errorLog().lines) {
        line->setText(text);
        line->setToolTip(text);
    }
}

void record(const QString &text) {
    ErrorLog &log = errorLog();
    ++log.count;
    log.latest = text.trimmed();
    showOnAllLines();
}

void sink(const char *text) {
    const QString copy = QString::fromLocal8Bit(text);
    QCoreApplication *app = QCoreApplication::instance();
    if (app && QThread::currentThread() != app->thread())
        QMetaObject::invokeMethod(
            app, [copy] { record(copy); }, Qt::QueuedConnection);
    else
        record(copy);
}

// Keeps the line at the window's foot when the window is resized.
class KeepAtFoot : public QObject {
  public:
    KeepAtFoot(QLabel *line, QWidget *window) : QObject(window), line_(line) {}

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::Resize) {
            const QWidget *window = static_cast<QWidget *>(watched);
            const int height = line_->height();
            line_->setGeometry(0, window->height() - height, window->width(), height);
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    QLabel *line_;
};

} // namespace

void installErrorPrintSink() {
    SetErrorPrintSink(sink);
}

void attachStatusLine(QWidget *window) {
    auto *line = new QLabel(window);
    line->setObjectName(QString::fromLatin1(kObjectName));
    line->setStyleSheet(QStringLiteral("QLabel { color: #a00000; padding-left: 4px; }"));
    const int height = line->fontMetrics().height() + 6;
    line->setGeometry(0, window->height(), window->width(), height);
    window->resize(window->width(), window->height() + height);
    window->installEventFilter(new KeepAtFoot(line, window));
    errorLog().lines.emplace_back(line);
    line->setText(statusText());
}

QString statusLineText(const QWidget *window) {
    const auto *line = window->findChild<QLabel *>(QString::fromLatin1(kObjectName));
    return line ? line->text() : QString();
}
