// First look at a panel file, before any widget is built: is it well-formed XML, and which
// widgets carry panel or control properties, at which line.  Checking here lets a refusal
// name the line, which the widgets QUiLoader builds no longer know.
#ifndef ZELBRIN_PLATFORM_PANEL_FORM_SCAN_H
#define ZELBRIN_PLATFORM_PANEL_FORM_SCAN_H

#include <QByteArray>
#include <QString>
#include <optional>
#include <variant>
#include <vector>

struct FormWidget {
    QString className;
    QString objectName;
    qint64 line = 0;
    std::optional<QString> controlId; // text of the property, checked later
    std::optional<QString> panelId;
    std::optional<QString> callbackName;
};

// The top-level widget comes first, then its descendants in file order.
struct FormScan {
    std::vector<FormWidget> widgets;
};

struct FormScanError {
    QString what;
    qint64 line = 0;
    qint64 column = 0;
};

std::variant<FormScan, FormScanError> scanForm(const QByteArray &xml);

#endif
