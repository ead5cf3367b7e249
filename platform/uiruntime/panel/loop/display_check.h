// Whether the window system that Qt is about to start can show windows here.  Qt's X11
// platform ends the whole program when it cannot reach its display, so that case is
// looked at first, without Qt.
#ifndef PLATFORM_UIRUNTIME_PANEL_LOOP_DISPLAY_CHECK_H
#define PLATFORM_UIRUNTIME_PANEL_LOOP_DISPLAY_CHECK_H

#include <optional>
#include <string>

namespace panel {

// The reason no window can be shown, or nothing when the platform may start.  argv is the
// program's null-terminated argument vector (Qt's -platform and -display count).
std::optional<std::string> displayUnavailable(char *argv[]);

} // namespace panel

#endif
