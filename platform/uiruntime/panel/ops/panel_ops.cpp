// Panels: loading from their files, showing, discarding, and controls added at run time.
#include "control_events.h"
#include "loader/panel_loader.h"
#include "loader/window_anchors.h"
#include "panel_registry.h"
#include "uiruntime/userint.h"
#include "widgets/led_indicator.h"
#include "widgets/status_line.h"

#include <QApplication>
#include <QPushButton>

using panel::Panel;
using panel::withPanel;

namespace {

constexpr int buttonHeight = 26;
// Line buttons stand in a narrow column beside their port-line labels.
constexpr int buttonMinWidth = 52;
constexpr int buttonTextPadding = 14;

QWidget *createControlWidget(int style, const QString &label, QWidget *window) {
    switch (style) {
    case CTRL_SQUARE_COMMAND_BUTTON: {
        auto *button = new QPushButton(label, window);
        const int textWidth = button->fontMetrics().horizontalAdvance(label) + buttonTextPadding;
        button->resize(std::max(buttonMinWidth, textWidth), buttonHeight);
        return button;
    }
    case CTRL_LED_WITH_LABEL:
    case CTRL_LED_NO_LABEL: {
        auto *led = new panel::LedIndicator(window);
        if (style == CTRL_LED_WITH_LABEL) {
            led->setLabel(label);
        }
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
    panel::Result<std::unique_ptr<Panel>> loaded =
        panel::loadPanelFile(panel::panelFilePath(QString::fromLocal8Bit(fileName)), resourceId);
    if (!loaded) {
        ErrorPrintf("%s: %s (%s)\n", fileName, qPrintable(loaded.error().what),
                    qPrintable(loaded.error().where));
        return loaded.error().status;
    }
    QWidget *window = (*loaded)->window.get();
    const int handle = panel::addPanel(std::move(*loaded));
    for (const auto &[id, control] : (*panel::findPanel(handle))->controls) {
        panel::connectControlEvents(handle, id, control.widget, control.kind);
    }
    panel::connectPanelClose(handle, window);
    panel::attachStatusLine(window);
    panel::anchorGrowingControls(window);
    return handle;
}

int DisplayPanel(int panel) {
    return withPanel(panel, [](Panel &found) {
        found.window->show();
        return 0;
    });
}

int DiscardPanel(int panel) {
    const panel::Result<void> discarded = panel::discardPanel(panel);
    return discarded ? 0 : discarded.error().status;
}

int GetPanelGeometry(int panel, int *left, int *top, int *width, int *height) {
    return withPanel(panel, [=](const Panel &found) {
        if (!left || !top || !width || !height) {
            return int{UI_ERROR_BAD_VALUE};
        }
        const QRect place = found.window->geometry();
        *left = place.left();
        *top = place.top();
        *width = place.width();
        *height = place.height();
        return 0;
    });
}

// A size below the window's minimum is raised to it; a place off every screen is the
// window system's to correct.
int SetPanelGeometry(int panel, int left, int top, int width, int height) {
    return withPanel(panel, [=](Panel &found) {
        if (width <= 0 || height <= 0) {
            return int{UI_ERROR_BAD_VALUE};
        }
        QWidget *window = found.window.get();
        window->move(left, top);
        window->resize(QSize(width, height).expandedTo(window->minimumSize()));
        return 0;
    });
}

int NewCtrl(int panel, int style, const char *label, int top, int left) {
    return withPanel(panel, [=](Panel &found) {
        const QString text = label ? QString::fromLocal8Bit(label) : QString();
        QWidget *widget = createControlWidget(style, text, found.window.get());
        if (!widget) {
            return int{UI_ERROR_WRONG_KIND};
        }
        widget->move(left, top);
        widget->show();
        const panel::ControlKind kind = *panel::kindOfWidget(widget);
        const int id = found.nextControlId++;
        found.controls[id] = {kind, widget, nullptr};
        panel::connectControlEvents(panel, id, widget, kind);
        return id;
    });
}
