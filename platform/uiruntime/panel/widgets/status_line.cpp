#include "status_line.h"

#include "uiruntime/diagnostics.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QPointer>
#include <QThread>
#include <algorithm>
#include <vector>

namespace panel {

namespace {

constexpr char statusLineName[] = "panelStatusLine";

// Shows the first line of its message, cut to its width, with the whole message as its
// tooltip: driver texts run over several lines, which a one-line label cannot show.
class StatusLine : public QLabel {
  public:
    explicit StatusLine(QWidget *window) : QLabel(window) {
        setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        setTextFormat(Qt::PlainText);
        setWordWrap(false);
    }

    void setMessage(const QString &firstLine, const QString &whole) {
        firstLine_ = firstLine;
        setToolTip(whole);
        showFitted();
    }

  protected:
    void resizeEvent(QResizeEvent *event) override {
        QLabel::resizeEvent(event);
        showFitted();
    }

  private:
    void showFitted() {
        const int room = contentsRect().width() - 2 * margin() - indent();
        setText(fontMetrics().elidedText(firstLine_, Qt::ElideRight, std::max(room, 0)));
    }

    QString firstLine_;
};

struct ErrorLog {
    int count = 0;
    QString latest;
    std::vector<QPointer<StatusLine>> lines;
};

ErrorLog &errorLog() {
    static ErrorLog log;
    return log;
}

// The count and the latest message, up to its first line break or all of it.
QString statusText(bool whole) {
    const ErrorLog &log = errorLog();
    if (log.count == 0) {
        return {};
    }
    const QString latest = whole ? log.latest : log.latest.section(QLatin1Char('\n'), 0, 0);
    return QStringLiteral("%1 error message%2 - latest: %3")
        .arg(log.count)
        .arg(log.count == 1 ? "" : "s")
        .arg(latest);
}

void show(StatusLine *line) {
    line->setMessage(statusText(false), statusText(true));
}

void showOnAllLines() {
    std::erase_if(errorLog().lines, [](const QPointer<StatusLine> &line) { return line.isNull(); });
    for (const QPointer<StatusLine> &line : errorLog().lines) {
        show(line);
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
    if (app && QThread::currentThread() != app->thread()) {
        QMetaObject::invokeMethod(
            app, [copy] { record(copy); }, Qt::QueuedConnection);
    } else {
        record(copy);
    }
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
    auto *line = new StatusLine(window);
    line->setObjectName(QString::fromLatin1(statusLineName));
    line->setStyleSheet(QStringLiteral("QLabel { color: #a00000; padding-left: 4px; }"));
    const int height = line->fontMetrics().height() + 6;
    line->setGeometry(0, window->height(), window->width(), height);
    window->resize(window->width(), window->height() + height);
    window->installEventFilter(new KeepAtFoot(line, window));
    errorLog().lines.emplace_back(line);
    show(line);
}

QString statusLineText(const QWidget *window) {
    const auto *line = window->findChild<QLabel *>(QString::fromLatin1(statusLineName));
    return line ? line->text() : QString();
}

} // namespace panel
