#include "form_scan.h"

#include "uiruntime/userint.h"

#include <QXmlStreamReader>

namespace panel {

namespace {

// The <property> element being read: whose it is, how deep it sits, and the text of its
// current value element (the last one counts, as for QUiLoader).
struct PropertyRead {
    std::size_t widget;
    QString name;
    std::size_t depth;
    QString value;
};

} // namespace

std::optional<QString> FormWidget::property(const QString &name) const {
    const auto found = properties.find(name);
    if (found == properties.end()) {
        return std::nullopt;
    }
    return found->second;
}

// One pass without recursion, so that no nesting can exhaust the stack before the depth
// limit refuses it.
Result<FormScan> scanForm(const QByteArray &xml) {
    QXmlStreamReader reader(xml);
    FormScan scan;
    std::vector<std::size_t> open;     // indices of the widgets enclosing the reader
    std::vector<bool> elementIsWidget; // for every open element
    std::optional<PropertyRead> property;
    bool sawUi = false;
    const auto refuseHere = [&reader](const QString &what) {
        return refuse(UI_ERROR_PANEL_FILE, what,
                      QStringLiteral("line %1, column %2")
                          .arg(reader.lineNumber())
                          .arg(reader.columnNumber()));
    };
    while (!reader.atEnd()) {
        reader.readNext();
        const std::size_t depth = elementIsWidget.size();
        if (reader.isStartElement()) {
            if (depth >= std::size_t(maxFormDepth)) {
                return refuseHere(
                    QStringLiteral("elements nest deeper than %1 levels").arg(maxFormDepth));
            }
            const QStringView name = reader.name();
            if (!sawUi) {
                if (name != QLatin1String("ui")) {
                    return refuseHere(QStringLiteral("not a Designer form: the root element is "
                                                     "<%1>, not <ui>")
                                          .arg(name));
                }
                sawUi = true;
            }
            const bool inWidget = depth > 0 && elementIsWidget.back();
            bool isWidget = false;
            if (property) {
                if (depth == property->depth + 1) {
                    property->value.clear();
                }
            } else if (name == QLatin1String("property") && inWidget) {
                property = PropertyRead{
                    open.back(), reader.attributes().value("name").toString(), depth, {}};
            } else if (name == QLatin1String("widget")) {
                isWidget = true;
                const QXmlStreamAttributes attributes = reader.attributes();
                scan.widgets.push_back({attributes.value("class").toString(),
                                        attributes.value("name").toString(),
                                        reader.lineNumber(),
                                        {}});
                open.push_back(scan.widgets.size() - 1);
            }
            elementIsWidget.push_back(isWidget);
        } else if (reader.isCharacters()) {
            if (property && depth > property->depth + 1) {
                property->value += reader.text();
            }
        } else if (reader.isEndElement()) {
            if (elementIsWidget.back()) {
                open.pop_back();
            }
            elementIsWidget.pop_back();
            if (property && depth - 1 == property->depth) {
                scan.widgets[property->widget].properties[property->name] =
                    property->value.trimmed();
                property.reset();
            }
        }
    }
    if (reader.hasError()) {
        return refuseHere(QStringLiteral("malformed XML: ") + reader.errorString());
    }
    if (scan.widgets.empty()) {
        return refuseHere(QStringLiteral("the form holds no widget"));
    }
    return scan;
}

} // namespace panel
