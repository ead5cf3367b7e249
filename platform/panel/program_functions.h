// Finds a function of the running program by its name, for the callbacks a panel file
// names.  Only the program's own exported functions count: a name that only a library
// defines (abort, exit, ...) is not found, so a panel file cannot make a button call it.
#ifndef ZELBRIN_PLATFORM_PANEL_PROGRAM_FUNCTIONS_H
#define ZELBRIN_PLATFORM_PANEL_PROGRAM_FUNCTIONS_H

#include <QString>

// The function's address, or null.  Names are plain C identifiers not starting with '_'.
void *findProgramFunction(const QString &name);

#endif
