// libFuzzer target of the panel loader: any file text must be either refused with a
// reason and a place, or give a panel whose every control is a widget of its kind.
#include "fuzz/fuzz_require.h"
#include "loader/panel_loader.h"
#include "uiruntime/userint.h"

#include <QByteArray>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv) {
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    fuzzRequire(InitCVIRTEEx(nullptr, *argv, nullptr) != 0);
    (void)argc;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray text(reinterpret_cast<const char *>(data), qsizetype(size));
    const auto loaded = panel::loadPanelText(text, QStringLiteral("fuzz.ui"), 1);
    if (!loaded) {
        const panel::Refusal &refusal = loaded.error();
        fuzzRequire(refusal.status == UI_ERROR_PANEL_FILE && !refusal.what.isEmpty() &&
                    !refusal.where.isEmpty());
        return 0;
    }
    const std::unique_ptr<panel::Panel> &built = *loaded;
    fuzzRequire(built && built->window);
    for (const auto &[id, control] : built->controls) {
        fuzzRequire(id > 0 && id < built->nextControlId && control.widget);
        fuzzRequire(panel::kindOfWidget(control.widget) == control.kind);
    }
    return 0;
}
