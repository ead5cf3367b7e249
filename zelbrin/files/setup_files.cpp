#include "setup_files.h"

#include "setup.h"
#include "uiruntime/userint.h"
#include "window/message_line.h"
#include "window/panel_frame.h"

#include <QFileInfo>
#include <QSettings>
#include <string>

namespace zelbrin {

namespace {

constexpr const char *organisation = "Zelbrin";
constexpr const char *application = "zelbrin";
constexpr const char *setupFilter = "Zelbrin setups (*.ini);;All files (*)";

QSettings userSettings() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, organisation, application);
}

QSettings setupFile(const char *path) {
    return QSettings(QString::fromLocal8Bit(path), QSettings::IniFormat);
}

// In the window and on the error output, for a start from a terminal.
bool refuse(int panel, const std::string &file, const std::string &why) {
    const std::string text =
        "Setup " + file + " refused: " + why + ". The window keeps what it showed.";
    showMessage(panel, text, MessageKind::Problem);
    ErrorPrintf("Zelbrin: %s\n", text.c_str());
    return false;
}

// Puts the set-up of the store on the window, or says why not.
bool applyStored(int panel, const QSettings &store) {
    const std::string file = store.fileName().toStdString();
    if (store.status() != QSettings::NoError) {
        return refuse(panel, file, "key 'format': the file cannot be read as settings");
    }
    const auto read = readSetup(store);
    if (const auto *refusal = std::get_if<SetupRefusal>(&read)) {
        return refuse(panel, file, "key '" + refusal->key + "': " + refusal->why);
    }
    applySetup(panel, std::get<Setup>(read));
    return true;
}

struct Geometry {
    int left;
    int top;
    int width;
    int height;
};

void restoreGeometry(int panel, const QSettings &store) {
    const QList<QVariant> values = store.value("window/geometry").toList();
    if (values.size() != 4) {
        return;
    }
    Geometry g{};
    int *fields[] = {&g.left, &g.top, &g.width, &g.height};
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        *fields[i] = values[i].toInt(&ok);
        if (!ok) {
            return;
        }
    }
    SetPanelGeometry(panel, g.left, g.top, g.width, g.height);
}

bool chooseFile(const char *title, bool forSaving, char (&path)[filePathSize]) {
    return FileSelectPopup(title, setupFilter, forSaving ? 1 : 0, path, filePathSize) == 1;
}

} // namespace

void restoreRememberedSettings(int panel) {
    const QSettings store = userSettings();
    // The first run has nothing to restore.
    if (store.allKeys().isEmpty()) {
        return;
    }
    if (store.contains("format")) {
        applyStored(panel, store);
    }
    restoreGeometry(panel, store);
}

void rememberSettings(int panel) {
    QSettings store = userSettings();
    // Written in place: a safe replace waits for the disk, which can take seconds on a
    // busy machine while the window is closing; a torn file is refused at the next start.
    store.setAtomicSyncRequired(false);
    writeSetup(store, setupOfWindow(panel));
    Geometry g{};
    if (GetPanelGeometry(panel, &g.left, &g.top, &g.width, &g.height) == 0) {
        store.setValue("window/geometry", QList<QVariant>{g.left, g.top, g.width, g.height});
    }
}

bool loadSetupFile(int panel, const char *path) {
    if (!QFileInfo(QString::fromLocal8Bit(path)).isReadable()) {
        return refuse(panel, path, "there is no such readable file");
    }
    const bool loaded = applyStored(panel, setupFile(path));
    if (loaded) {
        showMessage(panel, std::string("Setup loaded from ") + path + ".", MessageKind::Note);
    }
    return loaded;
}

} // namespace zelbrin

using namespace zelbrin;

int saveSetupCB(int panel, int, int event, void *, int, int) {
    char path[filePathSize];
    if (event != EVENT_COMMIT || !chooseFile("Save setup", true, path)) {
        return 0;
    }
    QSettings store = setupFile(path);
    store.clear();
    writeSetup(store, setupOfWindow(panel));
    store.sync();
    if (store.status() == QSettings::NoError) {
        showMessage(panel, std::string("Setup saved to ") + path + ".", MessageKind::Note);
    } else {
        showMessage(panel, std::string("Setup not saved: ") + path + " cannot be written.",
                    MessageKind::Problem);
    }
    return 0;
}

int loadSetupCB(int panel, int, int event, void *, int, int) {
    char path[filePathSize];
    if (event == EVENT_COMMIT && chooseFile("Load setup", false, path)) {
        loadSetupFile(panel, path);
    }
    return 0;
}
