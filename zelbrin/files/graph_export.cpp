#include "graph_export.h"

#include "uiruntime/userint.h"
#include "whole_file.h"
#include "window/message_line.h"
#include "window/panel_frame.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <optional>
#include <string>

namespace zelbrin {

namespace {

// The runtime saves a control's picture only to a file, and a disk that fills up on the
// way can leave that file cut short without a failure.  So the picture is made in a
// temporary folder, taken only when it reads back as a whole PNG, and then written to the
// user's file in one piece.  Nothing when the graph is in the file, else why not.
std::optional<std::string> saveGraph(int panel, const std::string &path) {
    const QTemporaryDir folder;
    const std::string notMade = "the picture could not be made whole in the temporary folder " +
                                QDir::toNativeSeparators(QDir::tempPath()).toStdString();
    if (!folder.isValid()) {
        return notMade + ": " + folder.errorString().toStdString();
    }
    const QString file = folder.filePath(QStringLiteral("graph.png"));
    QFile made(file);
    if (SaveCtrlDisplayToPNG(panel, PANEL_GRAPH, QFile::encodeName(file).constData()) != 0 ||
        !made.open(QIODevice::ReadOnly)) {
        return notMade;
    }
    const QByteArray picture = made.readAll();
    if (QImage::fromData(picture, "PNG").isNull()) {
        return notMade;
    }
    return writeWholeFile(path, picture);
}

} // namespace

} // namespace zelbrin

using namespace zelbrin;

int exportGraphCB(int panel, int, int event, void *, int, int) {
    char path[filePathSize];
    if (event != EVENT_COMMIT || FileSelectPopup("Export graph as PNG", "PNG pictures (*.png)", 1,
                                                 path, filePathSize) != 1) {
        return 0;
    }
    if (const auto failure = saveGraph(panel, path)) {
        showMessage(panel, std::string("Graph not saved: ") + path + ": " + *failure + ".",
                    MessageKind::Problem);
    } else {
        showMessage(panel, std::string("Graph saved to ") + path + ".", MessageKind::Note);
    }
    return 0;
}
