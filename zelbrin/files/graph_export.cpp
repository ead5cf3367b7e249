#include "graph_export.h"

#include "uiruntime/userint.h"
#include "window/message_line.h"
#include "window/panel_frame.h"

#include <string>

using namespace zelbrin;

int exportGraphCB(int panel, int, int event, void *, int, int) {
    char path[filePathSize];
    if (event != EVENT_COMMIT || FileSelectPopup("Export graph as PNG", "PNG pictures (*.png)", 1,
                                                 path, filePathSize) != 1) {
        return 0;
    }
    if (SaveCtrlDisplayToPNG(panel, PANEL_GRAPH, path) == 0) {
        showMessage(panel, std::string("Graph saved to ") + path + ".", MessageKind::Note);
    } else {
        showMessage(panel, std::string("Graph not saved: ") + path + " cannot be written.",
                    MessageKind::Problem);
    }
    return 0;
}
