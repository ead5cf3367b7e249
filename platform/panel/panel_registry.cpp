#include "panel_registry.h"

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

Panel *findPanel(int handle) {
    const auto found = panels().find(handle);
    return found == panels().end() ? nullptr : found->second.get();
}

Control *findControl(int handle, int control, int *error) {
    Panel *panel = findPanel(handle);
    if (!panel) {
        *error = UI_ERROR_BAD_PANEL;
        return nullptr;
    }
    const auto found = panel->controls.find(control);
    if (found == panel->controls.end() || !found->second.widget) {
        *error = UI_ERROR_BAD_CONTROL;
        return nullptr;
    }
    return &found->second;
}

bool discardPanel(int handle) {
    const auto found = panels().find(handle);
    if (found == panels().end())
        return false;
    std::unique_ptr<QWidget> window = std::move(found->second->window);
    panels().erase(found);
    if (callbacksRunning > 0) {
        // The widget whose signal called the program may belong to this window; deleting
        // it under Qt's feet would crash on return from the callback.
        window->hide();
        window.release()->deleteLater();
    }
    return true;
}

void dispatchControlEvent(int handle, int control, int event) {
    int error = 0;
    const Control *target = findControl(handle, control, &error);
    if (!target || !target->callback)
        return;
    const CtrlCallbackPtr callback = target->callback;
    const CallbackScope scope;
    callback(handle, control, event, nullptr, 0, 0);
}

void dispatchPanelEvent(int handle, int event) {
    const Panel *panel = findPanel(handle);
    if (!panel || !panel->callback)
        return;
    const PanelCallbackPtr callback = panel->callback;
    const CallbackScope scope;
    callback(handle, event, nullptr, 0, 0);
}
