// Writes a stretch of the history as CSV: a column of time in seconds from the stretch's
// first sample, then one column per channel in volts.
#ifndef TOOLS_ORVEX_SCOPE_FILES_CSV_EXPORT_H
#define TOOLS_ORVEX_SCOPE_FILES_CSV_EXPORT_H

#include "core/sample_history.h"

#include <QString>
#include <QStringList>

namespace scope {

// names: a header for each channel of the history.  [from, to) is clipped to what the
// history holds.  False, with nothing left behind, when the file could not be written.
bool exportCsv(const QString &path, const SampleHistory &history, const QStringList &names,
               long long from, long long to, double interval);

} // namespace scope

#endif
