#include "panel_file_lookup.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

namespace zelbrin {

namespace {

constexpr const char *panelFileName = "Zelbrin.uir";

} // namespace

const char *const dataFolderFromProgram = ZELBRIN_DATA_DIR_FROM_BIN;

QString findPanelFile(const QString &programFolder) {
    const QString fileName = QString::fromLatin1(panelFileName);
    const QDir program(programFolder);
    // The installed layout is taken relative to the executable, so that a moved or
    // unpacked tree works as well.
    const QDir installed(program.filePath(QString::fromUtf8(dataFolderFromProgram)));
    for (const QDir &folder : {program, installed}) {
        if (folder.exists(fileName)) {
            return QDir::cleanPath(folder.filePath(fileName));
        }
    }
    return fileName;
}

std::string panelFile() {
    return QFile::encodeName(findPanelFile(QCoreApplication::applicationDirPath())).toStdString();
}

} // namespace zelbrin
