#include "file_popup.h"

#include "uiruntime/userint.h"

#include <QApplication>
#include <QFileDialog>
#include <cstring>

namespace panel {

namespace {

std::optional<QString> &givenAnswer() {
    static std::optional<QString> answer;
    return answer;
}

} // namespace

void setFilePopupAnswer(std::optional<QString> path) {
    givenAnswer() = std::move(path);
}

} // namespace panel

int FileSelectPopup(const char *title, const char *filter, int forSaving, char *path,
                    int pathSize) {
    if (!qobject_cast<QApplication *>(QCoreApplication::instance())) {
        return UI_ERROR_NOT_INITIALISED;
    }
    if (!path || pathSize <= 0) {
        return UI_ERROR_BAD_VALUE;
    }
    const QString caption = QString::fromLocal8Bit(title ? title : "");
    const QString filters = QString::fromLocal8Bit(filter ? filter : "");
    QString chosen;
    if (panel::givenAnswer()) {
        chosen = *panel::givenAnswer();
    } else if (forSaving) {
        chosen = QFileDialog::getSaveFileName(QApplication::activeWindow(), caption, {}, filters);
    } else {
        chosen = QFileDialog::getOpenFileName(QApplication::activeWindow(), caption, {}, filters);
    }
    const QByteArray local = chosen.toLocal8Bit();
    if (local.isEmpty() || local.size() >= pathSize) {
        return 0;
    }
    std::memcpy(path, local.constData(), static_cast<std::size_t>(local.size()) + 1);
    return 1;
}
