// The panels the program holds, by handle, with their controls by ID.
//
// Widgets are reached through QPointer so that a widget Qt already destroyed (say, with
// its parent) reads as absent instead of dangling.
#ifndef ZELBRIN_PLATFORM_PANEL_PANEL_REGISTRY_H
#define ZELBRIN_PLATFORM_PANEL_PANEL_REGISTRY_H

#include "control_kind.h"
#include "userint.h"

#include <QPointer>
#include <QWidget>
#include <map>
#include <memory>

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
Panel *findPanel(int handle);
// The control, or null (and *error set to the UI_ERROR_ code) when panel or ID is unknown.
Control *findControl(int handle, int control, int *error);
// Removes the panel from the table and destroys its window and controls; when a callback
// of the program is running, the window goes only after the callback has returned.
bool discardPanel(int handle);

// Delivers an event to the program's callback, if the control or panel has one.
void dispatchControlEvent(int handle, int control, int event);
void dispatchPanelEvent(int handle, int event);

#endif
