// The panel file is looked for beside the executable first, as in the build tree, then in
// the data folder of an installed program, found from the executable's folder.
#include "app/app_harness.h"

#include "files/panel_file_lookup.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace zelbrin {
namespace {

void putPanelFileInto(const QString &folder) {
    ASSERT_TRUE(QDir().mkpath(folder));
    QFile file(QDir(folder).filePath(QStringLiteral("Zelbrin.uir")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

TEST(PanelFileLookup, BesideTheExecutableFirstThenTheInstalledDataFolderThenTheBareName) {
    const ScratchFolder scratch;
    const QString program = QString::fromStdString(scratch.path("unpacked/bin"));
    ASSERT_TRUE(QDir().mkpath(program));
    const QString data =
        QDir::cleanPath(QDir(program).filePath(QString::fromUtf8(dataFolderFromProgram)));
    ASSERT_TRUE(data.startsWith(QString::fromStdString(scratch.path(""))))
        << "the data folder lies outside the tree: " << data.toStdString();

    EXPECT_EQ(findPanelFile(program), QStringLiteral("Zelbrin.uir"));
    putPanelFileInto(data);
    EXPECT_EQ(findPanelFile(program), data + QStringLiteral("/Zelbrin.uir"));
    putPanelFileInto(program);
    EXPECT_EQ(findPanelFile(program), program + QStringLiteral("/Zelbrin.uir"));
}

} // namespace
} // namespace zelbrin
