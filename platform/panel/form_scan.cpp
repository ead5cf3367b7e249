#include "form_scan.h"

#include <QXmlStreamReader>

namespace {

// The value of a <property> element: the text of its single value element.
QString readPropertyValue(QXmlStreamReader &reader) {
    QString value;
    while (reader.readNextStartElement()) {
        value = reader.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
    }
    return value;
}

void recordProperty(FormWidget &widget, const QString &name, const QString &value) {
    if (name == QLatin1String("controlId"))
        widget.controlId = value;
    else if (name == QLatin1String("panelId"))
        widget.panelId = value;
    else if (name == QLatin1String("callbackName"))
        widget.callbackName = value;
}

} // namespace

std::variant<FormScan, FormScanError> scanForm(const QByteArray &xml) {
    QXmlStreamReader reader(xml);
    FormScan scan;
    std::vector<std::size_t> open;     // indices of the widgets enclosing the reader
    std::vector<bool> elementIsWidget; // for every open element
    bool sawUi = false;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement()) {
            const QStringView name = reader.name();
            if (!sawUi) {
                if (name != QLatin1String("ui"))
                    return FormScanError{QStringLiteral("not a Designer form: the root "
                                                        "element is <%1>, not <ui>")
                                             .arg(name),
                                         reader.lineNumber(), reader.columnNumber()};
                sawUi = true;
            }
            const bool inWidget = !elementIsWidget.empty() && elementIsWidget.back();
            if (name == QLatin1String("property") && inWidget) {
                const QString property = reader.attributes().value("name").toString();
                recordProperty(scan.widgets[open.back()], property, readPropertyValue(reader));
                continue; // the reader stands on </property>
            }
            const bool isWidget = name == QLatin1String("widget");
            if (isWidget) {
                const QXmlStreamAttributes attributes = reader.attributes();
                scan.widgets.push_back({attributes.value("class").toString(),
                                        attributes.value("name").toString(),
                                        reader.lineNumber(),
                                        {},
                                        {},
                                        {}});
                open.push_back(scan.widgets.size() - 1);
            }
            elementIsWidget.push_back(isWidget);
        } else if (reader.isEndElement()) {
            if (elementIsWidget.back())
                open.pop_back();
            elementIsWidget.pop_back();
        }
    }
    if (reader.hasError())
        return FormScanError{QStringLiteral("malformed XML: ") + reader.errorString(),
                             reader.lineNumber(), reader.columnNumber()};
    if (scan.widgets.empty())
        return FormScanError{QStringLiteral("the form holds no widget"), reader.lineNumber(),
                             reader.columnNumber()};
    return scan;
}
