// Where the program's panel file is: beside the executable, as in the build tree, or else
// in the data directory of an installed program.
#ifndef ZELBRIN_FILES_PANEL_FILE_LOOKUP_H
#define ZELBRIN_FILES_PANEL_FILE_LOOKUP_H

// A bare file name (looked up beside the executable) or a full path.
const char *panelFile();

#endif
