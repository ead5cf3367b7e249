// Where the program's panel file is: beside the executable, as in the build tree, or else
// in the data folder of an installed program.
#ifndef ZELBRIN_FILES_PANEL_FILE_LOOKUP_H
#define ZELBRIN_FILES_PANEL_FILE_LOOKUP_H

#include <QString>
#include <string>

namespace zelbrin {

// The installed program's data folder, relative to the executable's folder.
extern const char *const dataFolderFromProgram;

// The panel file for a program in programFolder: the one beside it, else the one in its
// data folder, else the bare file name, which LoadPanel refuses naming the place beside
// the executable.
QString findPanelFile(const QString &programFolder);

// findPanelFile for this program, in the form LoadPanel takes.  Once the user-interface
// runtime has started: the executable's folder comes from its application object.
std::string panelFile();

} // namespace zelbrin

#endif
