// Finds a function of the running program by its name, for the callbacks a panel file
// names.  Only the program's own exported functions count: a name that only a library
// defines (abort, exit, ...) is not found, so a panel file cannot make a button call it.
// The executable exports its callbacks (ENABLE_EXPORTS on Linux, WINDOWS_EXPORT_ALL_SYMBOLS
// beside it on Windows).
#ifndef PLATFORM_UIRUNTIME_PANEL_LOOP_PROGRAM_FUNCTIONS_H
#define PLATFORM_UIRUNTIME_PANEL_LOOP_PROGRAM_FUNCTIONS_H

#include <QString>

namespace panel {

// The function's address, or null.  Names are plain C identifiers not starting with '_'.
void *findProgramFunction(const QString &name);

// The platform's form: the executable's own exported function of that name, or null.
void *findExecutableExport(const char *name);

} // namespace panel

#endif
