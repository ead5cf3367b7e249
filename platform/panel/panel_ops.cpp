// Panels: loading from their files, showing, discarding, and controls added at run time.
#include "control_events.h"
#include "led_indicator.h"
#include "panel_loader.h"
#include "panel_registry.h"
#include "status_line.h"
#include "userint.h"
#include "window_anchors.h"

#include <QApplication>
#include <QPushButton>

namespace {

constexpr int kButtonHeight = 26;
// Line buttons stand in a narrow column beside their port-line labels.
constexpr int kButtonMinWidth = 52;
constexpr int kButtonTextPadding = 14;

QWidget *createControlWidget(int style, const QString &label, QWidget *window) {
    switch (style) {
    case CTRL_SQUARE_COMMAND_BUTTON: {
        auto *button = new QPushButton(label, window);
        const int textWidth = button->fontMetrics().horizontalAdvance(label) + kButtonTextPadding;
        button->resize(std::max(kButtonMinWidth, textWidth), kButtonHeight);
        return button;
    }
    case CTRL_LED_WITH_LABEL:
    case CTRL_LED_NO_LABEL: {
        auto *led = new LedIndicator(window);
        if (style == CTRL_LED_WITH_LABEL)
            led->setLabel(label);
        led->resize(led->sizeHint());
        return led;
    }
    default:
        return nullptr;
    }
}

} // namespace

int LoadPanel(int parentPanel, const char *fileName, int resourceId) {
    const char *shownName = fileName ? fileName : "(no file name)";
    if (!qobject_cast<QApplication *>(QCoreApplication::instance())) {
        ErrorPrintf("%s: the user interface is not initialised (InitCVIRTEEx not called)\n",
                    shownName);
        return UI_ERROR_NOT_INITIALISED;
    }
    if (!fileName || parentPanel != 0) {
        ErrorPrintf("%s: only top-level panels from a named file can be loaded (parent %d)\n",
                    shownName, parentPanel);
        return UI_ERROR_PANEL_FILE;
    }
    auto loaded = loadPanelFile(panelFilePath(QString::fromLocal8Bit(fileName)), resourceId);
    if (const auto *refusal = std::get_if<LoadRefusal>(&loaded)) {
        ErrorPrintf("%s: %s (%s)\n", fileName, qPrintable(refusal->what),
                    qPrintable(refusal->where));
        return UI_ERROR_PANEL_FILE;
    }
    auto &panel = std::get<std::unique_ptr<Panel>>(loaded);
    QWidget *window = panel->window.get();
    const int handle = addPanel(std::move(panel));
    for (const auto &[id, control] : findPanel(handle)->controls)
        connectControlEvents(handle, id, control.widget, control.kind);
    connectPanelClose(handle, window);
    attachStatusLine(window);
    anchorGrowingControls(window);
    return handle;
}

int DisplayPanel(int panel) {
    Panel *found = findPanel(panel);
    if (!found)
        return UI_ERROR_BAD_PANEL;
    found->window->show();
    return 0;
}

int DiscardPanel(int panel) {
    return discardPanel(panel) ? 0 : UI_ERROR_BAD_PANEL;
}

int GetPanelGeometry(int panel, int *left, int *top, int *width, int *height) {
    const Panel *found = findPanel(panel);
    if (!found)
        return UI_ERROR_BAD_PANEL;
    if (!left || !top || !width || !height)
        return UI_ERROR_BAD_VALUE;
    const QRect place = found->window->geometry();
    *left = place.left();
    *top = place.top();
    *width = place.width();
    *height = place.height();
    return 0;
}

// A size below the window's minimum is raised to it; a place off every screen is the
// window system's to correct.
int SetPanelGeometry(int panel, int left, int top, int width, int height) {
    Panel *found = findPanel(panel);
    if (!found)
        return UI_ERROR_BAD_PANEL;
    if (width <= 0 || height <= 0)
        return UI_ERROR_BAD_VALUE;
    QWidget *window = found->window.get();
    window->move(left, top);
    window->resize(QSize(width, height).expandedTo(window->minimumSize()));
    return 0;
}

int NewCtrl(int panel, int style, const char *label, int top, int left) {
    Panel *found = findPanel(panel);
    if (!found)
        return UI_ERROR_BAD_PANEL;
    const QString text = label ? QString::fromLocal8Bit(label) : QString();
    QWidget *widget = createControlWidget(style, text, found->window.get());
    if (!widget)
        return UI_ERROR_WRONG_KIND;
    widget->move(left, top);
    widget->show();
    const ControlKind kind = *kindOfWidget(widget);
    const int id = found->nextControlId++;
    found->controls[id] = {kind, widget, nullptr};
    connectControlEvents(panel, id, widget, kind);
    return id;
}
