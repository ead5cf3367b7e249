// Panels made in Designer place their controls at fixed positions.  A control with the
// property growsWithWindow set keeps its distance to the window's right and bottom edges
// as the window is resized, so it takes any room the window gains; all others keep
// their places.  The window cannot become smaller than it opened.
#ifndef PLATFORM_UIRUNTIME_PANEL_LOADER_WINDOW_ANCHORS_H
#define PLATFORM_UIRUNTIME_PANEL_LOADER_WINDOW_ANCHORS_H

class QWidget;

namespace panel {

void anchorGrowingControls(QWidget *window);

} // namespace panel

#endif
