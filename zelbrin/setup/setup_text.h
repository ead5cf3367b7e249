// The text of a setup file: INI groups of key=value lines, laid out as QSettings lays them
// out, so that the files of earlier versions load and a file saved now reads anywhere.
#ifndef ZELBRIN_SETUP_SETUP_TEXT_H
#define ZELBRIN_SETUP_SETUP_TEXT_H

#include "setup.h"

#include <string>
#include <string_view>
#include <variant>

namespace zelbrin {

std::string setupText(const Setup &setup);

// Every line is a [group], a key=value, a comment (; or #) or blank, or the file is
// refused under key 'format' as no settings file; a key given twice is refused as well,
// since either value could be the one meant.  Then as readSetup.
std::variant<Setup, SetupRefusal> readSetupText(std::string_view text);

} // namespace zelbrin

#endif
