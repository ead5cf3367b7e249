// Whether the window system that Qt is about to start can show windows here.  Qt's X11
// platform ends the whole program when it cannot reach its display, so that case is
// looked at first, without Qt.
//
// The connection made to look stays open until Qt has its own: an X server that has no
// other client (Xvfb, xvfb-run's, an X session that xinit started) resets when its last
// client leaves and refuses connections while it does, so closing it first would leave
// Qt's connection to meet that reset.
#ifndef PLATFORM_UIRUNTIME_PANEL_LOOP_DISPLAY_CHECK_H
#define PLATFORM_UIRUNTIME_PANEL_LOOP_DISPLAY_CHECK_H

#include <memory>
#include <string>
#include <tl/expected.hpp>

struct xcb_connection_t;

namespace panel {

struct DisplayDisconnect {
    void operator()(xcb_connection_t *connection) const;
};
// A connection to the X display, open until it is dropped; empty when the platform Qt
// starts is not X11 alone.
using HeldDisplay = std::unique_ptr<xcb_connection_t, DisplayDisconnect>;

// The display, held, or the reason no window can be shown.  argv is the program's
// null-terminated argument vector (Qt's -platform and -display count).
tl::expected<HeldDisplay, std::string> reachDisplay(char *argv[]);

} // namespace panel

#endif
