// The panels the program holds, by handle, with their controls by ID.
//
// Widgets are reached through QPointer so that a widget Qt already destroyed (say, with
// its parent) reads as absent instead of dangling.
#ifndef PLATFORM_UIRUNTIME_PANEL_OPS_PANEL_REGISTRY_H
#define PLATFORM_UIRUNTIME_PANEL_OPS_PANEL_REGISTRY_H

#include "control_kind.h"
#include "refusal.h"
#include "uiruntime/userint.h"

#include <QPointer>
#include <QWidget>
#include <map>
#include <memory>

namespace panel {

struct Control {
    ControlKind kind;
    QPointer<QWidget> widget;
    CtrlCallbackPtr callback = nullptr;
};

struct Panel {
    std::unique_ptr<QWidget> window;
    PanelCallbackPtr callback = nullptr;
    std::map<int, Control> controls;
    int nextControlId = 1; // above every ID the file gave
};

// Takes the panel and returns its new handle (positive, never reused).
int addPanel(std::unique_ptr<Panel> panel);
// Refused with UI_ERROR_BAD_PANEL, and for a control also UI_ERROR_BAD_CONTROL.
Result<Panel *> findPanel(int handle);
Result<Control *> findControl(int handle, int control);
// Removes the panel from the table and destroys its window and controls; when a callback
// of the program is running, the window goes only after the callback has returned.
Result<void> discardPanel(int handle);

// Delivers an event to the program's callback, if the control or panel has one.
void dispatchControlEvent(int handle, int control, int event);
void dispatchPanelEvent(int handle, int event);
// Delivers the close event to every shown panel that has a callback, oldest first, as the
// close control of its window would; false when there is none.
bool closeShownPanels();

// What a C-style operation on one panel or control returns: the operation's own status, or
// the refusal's when there is no such panel or control.
template <typename Operation> int withPanel(int handle, Operation operation) {
    const Result<Panel *> found = findPanel(handle);
    return found ? operation(**found) : found.error().status;
}
template <typename Operation> int withControl(int handle, int control, Operation operation) {
    const Result<Control *> found = findControl(handle, control);
    return found ? operation(**found) : found.error().status;
}

} // namespace panel

#endif
