#include "panel_loader.h"

#include "form_scan.h"
#include "paneltimer.h"
#include "program_functions.h"
#include "xygraph.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QUiLoader>
#include <set>

namespace {

class PanelUiLoader : public QUiLoader {
  public:
    QWidget *createWidget(const QString &className, QWidget *parent, const QString &name) override {
        QWidget *widget = nullptr;
        if (className == QLatin1String("XYGraph"))
            widget = new XYGraph(parent);
        else if (className == QLatin1String("PanelTimer"))
            widget = new PanelTimer(parent);
        else
            return QUiLoader::createWidget(className, parent, name);
        widget->setObjectName(name);
        return widget;
    }
};

QString where(const FormWidget &widget) {
    return QStringLiteral("line %1, widget '%2'").arg(widget.line).arg(widget.objectName);
}

void *findCallback(const QString &name) {
    return findProgramFunction(name.toUtf8().constData());
}

std::optional<int> parseInt(const std::optional<QString> &text) {
    if (!text)
        return std::nullopt;
    bool ok = false;
    const int value = text->toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

// Everything that can be checked on the file's text, so the refusal can name a line.
std::optional<LoadRefusal> checkForm(const FormScan &scan, int resourceId) {
    const FormWidget &top = scan.widgets.front();
    if (top.className != QLatin1String("QWidget"))
        return LoadRefusal{QStringLiteral("the panel is a %1, not a QWidget").arg(top.className),
                           where(top)};
    const std::optional<int> panelId = parseInt(top.panelId);
    if (!panelId)
        return LoadRefusal{QStringLiteral("the panel has no integer panelId property"), where(top)};
    if (*panelId != resourceId)
        return LoadRefusal{
            QStringLiteral("no panel with resource ID %1 (the file's panel has ID %2)")
                .arg(resourceId)
                .arg(*panelId),
            where(top)};
    if (top.callbackName && !findCallback(*top.callbackName))
        return LoadRefusal{
            QStringLiteral("panel callback '%1' is not in the program").arg(*top.callbackName),
            where(top)};
    std::set<int> ids;
    for (std::size_t i = 1; i < scan.widgets.size(); ++i) {
        const FormWidget &widget = scan.widgets[i];
        if (!widget.controlId) {
            if (widget.callbackName)
                return LoadRefusal{QStringLiteral("callbackName on a widget without controlId"),
                                   where(widget)};
            continue;
        }
        const std::optional<int> id = parseInt(widget.controlId);
        if (!id || *id <= 0)
            return LoadRefusal{
                QStringLiteral("controlId '%1' is not a positive integer").arg(*widget.controlId),
                where(widget)};
        if (!ids.insert(*id).second)
            return LoadRefusal{QStringLiteral("duplicate controlId %1").arg(*id), where(widget)};
        if (!kindForClassName(widget.className))
            return LoadRefusal{QStringLiteral("unknown control kind %1").arg(widget.className),
                               where(widget)};
        if (widget.callbackName && !findCallback(*widget.callbackName))
            return LoadRefusal{
                QStringLiteral("callback '%1' is not in the program").arg(*widget.callbackName),
                where(widget)};
    }
    return std::nullopt;
}

template <typename Callback> Callback callbackProperty(const QObject *object) {
    const QString name = object->property("callbackName").toString();
    return name.isEmpty() ? nullptr : reinterpret_cast<Callback>(findCallback(name));
}

} // namespace

QString panelFilePath(const QString &fileName) {
    if (fileName.contains(QLatin1Char('/')))
        return fileName;
    return QCoreApplication::applicationDirPath() + QLatin1Char('/') + fileName;
}

std::variant<std::unique_ptr<Panel>, LoadRefusal> loadPanelFile(const QString &path,
                                                                int resourceId) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return LoadRefusal{QStringLiteral("cannot open the panel file: ") + file.errorString(),
                           path};
    const QByteArray xml = file.readAll();
    const auto scanned = scanForm(xml);
    if (const auto *error = std::get_if<FormScanError>(&scanned))
        return LoadRefusal{
            error->what, QStringLiteral("line %1, column %2").arg(error->line).arg(error->column)};
    const FormScan &scan = std::get<FormScan>(scanned);
    if (auto refusal = checkForm(scan, resourceId))
        return *refusal;

    QBuffer buffer;
    buffer.setData(xml);
    PanelUiLoader loader;
    auto panel = std::make_unique<Panel>();
    panel->window.reset(loader.load(&buffer));
    if (!panel->window)
        return LoadRefusal{QStringLiteral("not a loadable Designer form: ") + loader.errorString(),
                           path};
    panel->callback = callbackProperty<PanelCallbackPtr>(panel->window.get());
    int highestId = 0;
    for (QWidget *widget : panel->window->findChildren<QWidget *>()) {
        const QVariant id = widget->property("controlId");
        if (!id.isValid())
            continue;
        const std::optional<ControlKind> kind = kindOfWidget(widget);
        if (!kind)
            return LoadRefusal{QStringLiteral("control %1 was built as a %2")
                                   .arg(id.toInt())
                                   .arg(QString::fromLatin1(widget->metaObject()->className())),
                               QStringLiteral("widget '%1'").arg(widget->objectName())};
        panel->controls[id.toInt()] = {*kind, widget, callbackProperty<CtrlCallbackPtr>(widget)};
        highestId = std::max(highestId, id.toInt());
    }
    panel->nextControlId = highestId + 1;
    return panel;
}
