// Finds a function that the running program exports, by its C name: panel files name
// their callbacks, and the program's executable exports them (ENABLE_EXPORTS on Linux,
// WINDOWS_EXPORT_ALL_SYMBOLS beside it on Windows).  One form per platform.
#ifndef ORVEX_PLATFORM_PANEL_PROGRAM_FUNCTIONS_H
#define ORVEX_PLATFORM_PANEL_PROGRAM_FUNCTIONS_H

// Null when the program has no such function.
void *findProgramFunction(const char *name);

#endif
