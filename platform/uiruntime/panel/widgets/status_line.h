// A line at the foot of every panel window that shows how many error prints there were and
// the latest one: a person who starts the program from a desktop never sees stderr.  It
// shows the latest message's first line, cut to the window's width; its tooltip holds the
// whole message.
#ifndef PLATFORM_UIRUNTIME_PANEL_WIDGETS_STATUS_LINE_H
#define PLATFORM_UIRUNTIME_PANEL_WIDGETS_STATUS_LINE_H

#include <QString>

class QWidget;

namespace panel {

// Routes ErrorPrintf texts to the status lines (safe to call more than once).
void installErrorPrintSink();
// Adds the line below the window's contents, making the window taller by its height.
void attachStatusLine(QWidget *window);
QString statusLineText(const QWidget *window);

} // namespace panel

#endif
