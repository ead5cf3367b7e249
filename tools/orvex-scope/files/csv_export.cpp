#include "csv_export.h"

#include <QSaveFile>
#include <algorithm>
#include <cstdio>
#include <string>

namespace scope {

bool exportCsv(const QString &path, const SampleHistory &history, const QStringList &names,
               long long from, long long to, double interval) {
    from = std::max(from, history.first());
    to = std::min(to, history.total());
    // Written aside and put in place at the end: a full disk leaves no half file.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        return false;
    }
    file.write(("time (s)," + names.join(',') + '\n').toUtf8());
    std::string line;
    char field[32];
    for (long long index = from; index < to; ++index) {
        std::snprintf(field, sizeof field, "%.9g", double(index - from) * interval);
        line = field;
        for (int channel = 0; channel < history.channels(); ++channel) {
            std::snprintf(field, sizeof field, ",%.7g", double(history.at(channel, index)));
            line += field;
        }
        line += '\n';
        if (file.write(line.data(), static_cast<qint64>(line.size())) < 0) {
            return false;
        }
    }
    return file.commit();
}

} // namespace scope
