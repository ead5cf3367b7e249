// First look at a panel file, before any widget is built: is it well-formed XML, nested no
// deeper than a real panel ever is, and which widgets carry which properties, at which
// line.  Checking here lets a refusal name the line, which the widgets QUiLoader builds no
// longer know, and keeps files that would exhaust the loader's recursion away from it.
#ifndef PLATFORM_UIRUNTIME_PANEL_LOADER_FORM_SCAN_H
#define PLATFORM_UIRUNTIME_PANEL_LOADER_FORM_SCAN_H

#include "ops/refusal.h"

#include <QByteArray>
#include <QString>
#include <map>
#include <optional>
#include <vector>

namespace panel {

// Far deeper than any panel Designer writes (a widget in a layout in a widget adds three
// levels), far shallower than what exhausts a stack.
inline constexpr int maxFormDepth = 100;

struct FormWidget {
    QString className;
    QString objectName;
    qint64 line = 0;
    // The trimmed text of each property's value, checked later.
    std::map<QString, QString> properties;

    std::optional<QString> property(const QString &name) const;
};

// The top-level widget comes first, then its descendants in file order.
struct FormScan {
    std::vector<FormWidget> widgets;
};

// A refusal has UI_ERROR_PANEL_FILE and names the line and column where the reader stopped.
Result<FormScan> scanForm(const QByteArray &xml);

} // namespace panel

#endif
