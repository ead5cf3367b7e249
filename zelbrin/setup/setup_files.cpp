#include "setup_files.h"

#include "files/whole_file.h"
#include "logic/window_placement.h"
#include "setup_text.h"
#include "uiruntime/userint.h"
#include "window/message_line.h"
#include "window/panel_frame.h"
#include "window_setup.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <string>

namespace zelbrin {

namespace {

constexpr const char *organisation = "Zelbrin";
constexpr const char *application = "zelbrin";
constexpr const char *setupFilter = "Zelbrin setups (*.ini);;All files (*)";
constexpr const char *geometryKey = "window/geometry";
// A setup file holds a few hundred bytes; the bound keeps a wrong choice (a recording, a
// disk image) from being read into memory.
constexpr qint64 setupFileLimit = 1024 * 1024;

QSettings userSettings() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, organisation, application);
}

// In the window and on the error output, for a start from a terminal.
bool refuse(int panel, const std::string &file, const std::string &why) {
    const std::string text =
        "Setup " + file + " refused: " + why + ". The window keeps what it showed.";
    showMessage(panel, text, MessageKind::Problem);
    ErrorPrintf("Zelbrin: %s\n", text.c_str());
    return false;
}

// Puts the set-up read from file on the window, or says why not.
bool apply(int panel, const std::string &file, const std::variant<Setup, SetupRefusal> &read) {
    if (const auto *refusal = std::get_if<SetupRefusal>(&read)) {
        return refuse(panel, file, "key '" + refusal->key + "': " + refusal->why);
    }
    applySetup(panel, std::get<Setup>(read));
    return true;
}

SetupValues valuesOf(const QSettings &store) {
    SetupValues values;
    for (const QString &key : store.allKeys()) {
        values[key.toStdString()] = store.value(key).toString().toStdString();
    }
    return values;
}

std::vector<ScreenArea> availableScreenAreas() {
    std::vector<ScreenArea> areas;
    for (const QScreen *screen : QGuiApplication::screens()) {
        const QRect area = screen->availableGeometry();
        areas.push_back({area.left(), area.top(), area.width(), area.height()});
    }
    return areas;
}

void restoreGeometry(int panel, const QSettings &store) {
    const QList<QVariant> values = store.value(geometryKey).toList();
    if (values.size() != 4) {
        return;
    }
    ScreenArea remembered{};
    int *fields[] = {&remembered.left, &remembered.top, &remembered.width, &remembered.height};
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        *fields[i] = values[i].toInt(&ok);
        if (!ok) {
            return;
        }
    }
    const ScreenArea placed = placeOnScreens(remembered, availableScreenAreas());
    SetPanelGeometry(panel, placed.left, placed.top, placed.width, placed.height);
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
        const std::string file = store.fileName().toStdString();
        if (store.status() != QSettings::NoError) {
            refuse(panel, file, "key 'format': the file cannot be read as settings");
        } else {
            apply(panel, file, readSetup(valuesOf(store)));
        }
    }
    restoreGeometry(panel, store);
}

void rememberSettings(int panel) {
    QSettings store = userSettings();
    // Written in place: a safe replace waits for the disk, which can take seconds on a
    // busy machine while the window is closing; a torn file is refused at the next start.
    store.setAtomicSyncRequired(false);
    for (const auto &[key, value] : valuesOfSetup(setupOfWindow(panel))) {
        store.setValue(QString::fromStdString(key), QString::fromStdString(value));
    }
    ScreenArea shown{};
    if (GetPanelGeometry(panel, &shown.left, &shown.top, &shown.width, &shown.height) == 0) {
        store.setValue(geometryKey,
                       QList<QVariant>{shown.left, shown.top, shown.width, shown.height});
    }
}

bool loadSetupFile(int panel, const char *path) {
    const auto content = readWholeFile(path, setupFileLimit);
    if (const auto *why = std::get_if<std::string>(&content)) {
        return refuse(panel, path, *why);
    }
    const QByteArray &text = std::get<QByteArray>(content);
    if (!apply(panel, path, readSetupText(std::string_view(text.constData(), text.size())))) {
        return false;
    }
    showMessage(panel, std::string("Setup loaded from ") + path + ".", MessageKind::Note);
    return true;
}

} // namespace zelbrin

using namespace zelbrin;

int saveSetupCB(int panel, int, int event, void *, int, int) {
    char path[filePathSize];
    if (event != EVENT_COMMIT || !chooseFile("Save setup", true, path)) {
        return 0;
    }
    const std::string text = setupText(setupOfWindow(panel));
    if (const auto failure =
            writeWholeFile(path, QByteArray(text.data(), static_cast<qsizetype>(text.size())))) {
        showMessage(panel, std::string("Setup not saved: ") + path + ": " + *failure + ".",
                    MessageKind::Problem);
    } else {
        showMessage(panel, std::string("Setup saved to ") + path + ".", MessageKind::Note);
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
