// Creates the application object without letting Qt end the program: a display that is
// missing is found before Qt looks for it, and should a platform still fail while it
// starts, the program ends with one line that names the cause and status 1 instead of
// Qt's abort with its many lines.
#ifndef PLATFORM_UIRUNTIME_PANEL_LOOP_APPLICATION_START_H
#define PLATFORM_UIRUNTIME_PANEL_LOOP_APPLICATION_START_H

#include <string>

namespace panel {

// True when a QApplication exists afterwards; otherwise *whyNot says why.  argc and argv
// must live as long as the application object.
bool startApplication(int &argc, char *argv[], std::string *whyNot);

} // namespace panel

#endif
