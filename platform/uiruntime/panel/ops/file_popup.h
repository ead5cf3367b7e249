// The file chooser that FileSelectPopup shows, and the answer tests give instead of a user.
#ifndef PLATFORM_UIRUNTIME_PANEL_OPS_FILE_POPUP_H
#define PLATFORM_UIRUNTIME_PANEL_OPS_FILE_POPUP_H

#include <QString>
#include <optional>

namespace panel {

// While set, every FileSelectPopup returns this path at once (an empty one: cancelled).
void setFilePopupAnswer(std::optional<QString> path);

} // namespace panel

#endif
