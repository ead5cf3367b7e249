// Builds a panel from its Qt Designer file, or says precisely why the file is refused.
#ifndef PLATFORM_UIRUNTIME_PANEL_LOADER_PANEL_LOADER_H
#define PLATFORM_UIRUNTIME_PANEL_LOADER_PANEL_LOADER_H

#include "ops/panel_registry.h"
#include "ops/refusal.h"

#include <QString>
#include <memory>

namespace panel {

// A bare file name is looked up beside the executable; a name with a '/' is used as given.
QString panelFilePath(const QString &fileName);

// Controls come with kinds and callbacks bound; events are not connected yet, since they
// need the panel's handle.  A refusal has UI_ERROR_PANEL_FILE, the fault and where it is
// (the line and widget, or the path that was tried).
Result<std::unique_ptr<Panel>> loadPanelFile(const QString &path, int resourceId);
// The same for a file's text already read; path only names it in refusals.
Result<std::unique_ptr<Panel>> loadPanelText(const QByteArray &xml, const QString &path,
                                             int resourceId);

} // namespace panel

#endif
