#include "program_functions.h"

namespace panel {

namespace {

bool isPlainName(const QString &name) {
    if (name.isEmpty() || name.front() == QLatin1Char('_') || name.front().isDigit()) {
        return false;
    }
    for (const QChar c : name) {
        if (c.unicode() > 0x7F || !(c.isLetterOrNumber() || c == QLatin1Char('_'))) {
            return false;
        }
    }
    return true;
}

} // namespace

void *findProgramFunction(const QString &name) {
    return isPlainName(name) ? findExecutableExport(name.toLatin1().constData()) : nullptr;
}

} // namespace panel
