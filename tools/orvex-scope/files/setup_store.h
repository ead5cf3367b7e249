// The setup kept between runs (QSettings) and in setup files the user saves and loads: the
// same keys in both, so that a file is what the program would have remembered.
#ifndef TOOLS_ORVEX_SCOPE_FILES_SETUP_STORE_H
#define TOOLS_ORVEX_SCOPE_FILES_SETUP_STORE_H

#include "core/scope_setup.h"

#include <QSettings>
#include <QString>
#include <optional>

namespace scope {

void writeSetup(QSettings &settings, const ScopeSetup &setup);
// Keys missing from settings keep the defaults; values out of their range are brought in.
ScopeSetup readSetup(QSettings &settings);

// An INI file; false when it could not be written.
bool saveSetupFile(const QString &path, const ScopeSetup &setup);
// None when the file cannot be read or is no scope setup.
std::optional<ScopeSetup> loadSetupFile(const QString &path);

} // namespace scope

#endif
