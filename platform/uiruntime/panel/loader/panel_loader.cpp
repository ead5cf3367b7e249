#include "panel_loader.h"

#include "form_scan.h"
#include "loop/program_functions.h"
#include "widgets/panel_timer.h"
#include "widgets/xygraph.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QUiLoader>
#include <cmath>
#include <set>

namespace panel {

namespace {

class PanelUiLoader : public QUiLoader {
  public:
    QWidget *createWidget(const QString &className, QWidget *parent, const QString &name) override {
        QWidget *widget = nullptr;
        if (className == QLatin1String("XYGraph")) {
            widget = new XYGraph(parent);
        } else if (className == QLatin1String("PanelTimer")) {
            widget = new PanelTimer(parent);
        } else {
            return QUiLoader::createWidget(className, parent, name);
        }
        widget->setObjectName(name);
        return widget;
    }
};

QString where(const FormWidget &widget) {
    return QStringLiteral("line %1, widget '%2'").arg(widget.line).arg(widget.objectName);
}

tl::unexpected<Refusal> refuseFile(const QString &what, const QString &place) {
    return refuse(UI_ERROR_PANEL_FILE, what, place);
}

tl::unexpected<Refusal> refuseWidget(const FormWidget &widget, const QString &what) {
    return refuseFile(what, where(widget));
}

// Control IDs the runtime hands out go above the file's highest, so the file's stay far
// below the int range.
constexpr int highestControlId = 65535;

std::optional<int> parseInt(const std::optional<QString> &text) {
    if (!text) {
        return std::nullopt;
    }
    bool ok = false;
    const int value = text->toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

std::optional<double> parseFinite(const QString &text) {
    bool ok = false;
    const double value = text.toDouble(&ok);
    return ok && std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
}

Result<void> checkCallback(const FormWidget &widget, const QString &what) {
    const std::optional<QString> name = widget.property(QStringLiteral("callbackName"));
    if (name && !findProgramFunction(*name)) {
        return refuseWidget(widget,
                            QStringLiteral("%1 '%2' is not in the program").arg(what, *name));
    }
    return {};
}

Result<void> checkTimer(const FormWidget &timer) {
    const std::optional<QString> interval = timer.property(QStringLiteral("interval"));
    if (!interval) {
        return {};
    }
    const std::optional<double> seconds = parseFinite(*interval);
    if (!seconds || *seconds <= 0.0) {
        return refuseWidget(
            timer, QStringLiteral("timer interval '%1' is not a positive number of seconds")
                       .arg(*interval));
    }
    return {};
}

// Both ends finite, the lower below the upper; an end the file does not give keeps the
// graph's default.
Result<void> checkAxis(const FormWidget &graph, const QString &axis) {
    const QString minName = axis + QStringLiteral("Min");
    const QString maxName = axis + QStringLiteral("Max");
    double ends[2] = {XYGraph::defaultAxisMin, XYGraph::defaultAxisMax};
    const QString names[2] = {minName, maxName};
    for (int i = 0; i < 2; ++i) {
        if (const std::optional<QString> text = graph.property(names[i])) {
            const std::optional<double> value = parseFinite(*text);
            if (!value) {
                return refuseWidget(graph,
                                    QStringLiteral("graph limit %1 '%2' is not a finite number")
                                        .arg(names[i], *text));
            }
            ends[i] = *value;
        }
    }
    if (!(ends[0] < ends[1])) {
        return refuseWidget(graph, QStringLiteral("graph limits %1 %2 and %3 %4 leave no range")
                                       .arg(minName)
                                       .arg(ends[0])
                                       .arg(maxName)
                                       .arg(ends[1]));
    }
    return {};
}

Result<void> checkKindSettings(const FormWidget &widget) {
    if (widget.className == QLatin1String("PanelTimer")) {
        return checkTimer(widget);
    }
    if (widget.className == QLatin1String("XYGraph")) {
        return checkAxis(widget, QStringLiteral("x")).and_then([&widget] {
            return checkAxis(widget, QStringLiteral("y"));
        });
    }
    return {};
}

Result<void> checkControl(const FormWidget &widget, std::set<int> &ids) {
    const std::optional<QString> idText = widget.property(QStringLiteral("controlId"));
    if (!idText) {
        if (widget.property(QStringLiteral("callbackName"))) {
            return refuseWidget(widget,
                                QStringLiteral("callbackName on a widget without controlId"));
        }
        return {};
    }
    const std::optional<int> id = parseInt(idText);
    if (!id || *id <= 0) {
        return refuseWidget(
            widget, QStringLiteral("controlId '%1' is not a positive integer").arg(*idText));
    }
    if (*id > highestControlId) {
        return refuseWidget(widget, QStringLiteral("controlId %1 is above the highest allowed, %2")
                                        .arg(*id)
                                        .arg(highestControlId));
    }
    if (!ids.insert(*id).second) {
        return refuseWidget(widget, QStringLiteral("duplicate controlId %1").arg(*id));
    }
    if (!kindForClassName(widget.className)) {
        return refuseWidget(widget,
                            QStringLiteral("unknown control kind %1").arg(widget.className));
    }
    return checkCallback(widget, QStringLiteral("callback"));
}

// Everything that can be checked on the file's text, so the refusal can name a line.
Result<void> checkForm(const FormScan &scan, int resourceId) {
    const FormWidget &top = scan.widgets.front();
    if (top.className != QLatin1String("QWidget")) {
        return refuseWidget(top,
                            QStringLiteral("the panel is a %1, not a QWidget").arg(top.className));
    }
    const std::optional<int> panelId = parseInt(top.property(QStringLiteral("panelId")));
    if (!panelId) {
        return refuseWidget(top, QStringLiteral("the panel has no integer panelId property"));
    }
    if (*panelId != resourceId) {
        return refuseWidget(
            top, QStringLiteral("no panel with resource ID %1 (the file's panel has ID %2)")
                     .arg(resourceId)
                     .arg(*panelId));
    }
    if (Result<void> checked = checkCallback(top, QStringLiteral("panel callback")); !checked) {
        return checked;
    }
    std::set<int> ids;
    for (std::size_t i = 1; i < scan.widgets.size(); ++i) {
        const FormWidget &widget = scan.widgets[i];
        Result<void> checked =
            checkControl(widget, ids).and_then([&widget] { return checkKindSettings(widget); });
        if (!checked) {
            return checked;
        }
    }
    return {};
}

template <typename Callback> Callback callbackProperty(const QObject *object) {
    const QString name = object->property("callbackName").toString();
    return name.isEmpty() ? nullptr : reinterpret_cast<Callback>(findProgramFunction(name));
}

} // namespace

QString panelFilePath(const QString &fileName) {
    if (fileName.contains(QLatin1Char('/'))) {
        return fileName;
    }
    return QCoreApplication::applicationDirPath() + QLatin1Char('/') + fileName;
}

Result<std::unique_ptr<Panel>> loadPanelFile(const QString &path, int resourceId) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return refuseFile(QStringLiteral("cannot open the panel file: ") + file.errorString(),
                          path);
    }
    return loadPanelText(file.readAll(), path, resourceId);
}

Result<std::unique_ptr<Panel>> loadPanelText(const QByteArray &xml, const QString &path,
                                             int resourceId) {
    const Result<FormScan> scan = scanForm(xml);
    if (!scan) {
        return tl::unexpected(scan.error());
    }
    if (const Result<void> checked = checkForm(*scan, resourceId); !checked) {
        return tl::unexpected(checked.error());
    }

    QBuffer buffer;
    buffer.setData(xml);
    PanelUiLoader loader;
    auto panel = std::make_unique<Panel>();
    panel->window.reset(loader.load(&buffer));
    if (!panel->window) {
        return refuseFile(QStringLiteral("not a loadable Designer form: ") + loader.errorString(),
                          path);
    }
    panel->callback = callbackProperty<PanelCallbackPtr>(panel->window.get());
    int highestId = 0;
    for (QWidget *widget : panel->window->findChildren<QWidget *>()) {
        const QVariant id = widget->property("controlId");
        if (!id.isValid()) {
            continue;
        }
        const std::optional<ControlKind> kind = kindOfWidget(widget);
        if (!kind) {
            return refuseFile(QStringLiteral("control %1 was built as a %2")
                                  .arg(id.toInt())
                                  .arg(QString::fromLatin1(widget->metaObject()->className())),
                              QStringLiteral("widget '%1'").arg(widget->objectName()));
        }
        panel->controls[id.toInt()] = {*kind, widget, callbackProperty<CtrlCallbackPtr>(widget)};
        highestId = std::max(highestId, id.toInt());
    }
    panel->nextControlId = highestId + 1;
    return panel;
}

} // namespace panel
