#include "panel_registry.h"

#include <vector>

namespace panel {

namespace {

std::map<int, std::unique_ptr<Panel>> &panels() {
    static std::map<int, std::unique_ptr<Panel>> table;
    return table;
}

int lastHandle = 0;
// How many of the program's callbacks are running (nested event loops can nest them).
int callbacksRunning = 0;

struct CallbackScope {
    CallbackScope() { ++callbacksRunning; }
    ~CallbackScope() { --callbacksRunning; }
    CallbackScope(const CallbackScope &) = delete;
    CallbackScope &operator=(const CallbackScope &) = delete;
};

} // namespace

int addPanel(std::unique_ptr<Panel> panel) {
    panels().emplace(++lastHandle, std::move(panel));
    return lastHandle;
}

Result<Panel *> findPanel(int handle) {
    const auto found = panels().find(handle);
    if (found == panels().end()) {
        return refuse(UI_ERROR_BAD_PANEL);
    }
    return found->second.get();
}

Result<Control *> findControl(int handle, int control) {
    return findPanel(handle).and_then([control](Panel *panel) -> Result<Control *> {
        const auto found = panel->controls.find(control);
        if (found == panel->controls.end() || !found->second.widget) {
            return refuse(UI_ERROR_BAD_CONTROL);
        }
        return &found->second;
    });
}

Result<void> discardPanel(int handle) {
    const auto found = panels().find(handle);
    if (found == panels().end()) {
        return refuse(UI_ERROR_BAD_PANEL);
    }
    std::unique_ptr<QWidget> window = std::move(found->second->window);
    panels().erase(found);
    if (callbacksRunning > 0) {
        // The widget whose signal called the program may belong to this window; deleting
        // it under Qt's feet would crash on return from the callback.
        window->hide();
        window.release()->deleteLater();
    }
    return {};
}

void dispatchControlEvent(int handle, int control, int event) {
    const Result<Control *> target = findControl(handle, control);
    if (!target || !(*target)->callback) {
        return;
    }
    const CtrlCallbackPtr callback = (*target)->callback;
    const CallbackScope scope;
    callback(handle, control, event, nullptr, 0, 0);
}

void dispatchPanelEvent(int handle, int event) {
    const Result<Panel *> panel = findPanel(handle);
    if (!panel || !(*panel)->callback) {
        return;
    }
    const PanelCallbackPtr callback = (*panel)->callback;
    const CallbackScope scope;
    callback(handle, event, nullptr, 0, 0);
}

bool closeShownPanels() {
    // Taken first: a callback may discard panels.
    std::vector<int> shown;
    for (const auto &[handle, panel] : panels()) {
        if (panel->callback && panel->window->isVisible()) {
            shown.push_back(handle);
        }
    }
    for (const int handle : shown) {
        dispatchPanelEvent(handle, EVENT_CLOSE);
    }
    return !shown.empty();
}

} // namespace panel
