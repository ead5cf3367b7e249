#include "panel_file_lookup.h"

#include <filesystem>
#include <string>
#include <system_error>

namespace {

constexpr const char *panelFileName = "Zelbrin.uir";

std::string findPanelFile() {
    namespace fs = std::filesystem;
    std::error_code failed;
    const fs::path programDir = fs::read_symlink("/proc/self/exe", failed).parent_path();
    if (failed || fs::exists(programDir / panelFileName, failed)) {
        return panelFileName;
    }
    // The installed layout, relative to the executable so that a moved or unpacked tree
    // works as well.
    const fs::path installed = programDir / ZELBRIN_DATA_DIR_FROM_BIN / panelFileName;
    return fs::exists(installed, failed) ? installed.lexically_normal().string() : panelFileName;
}

} // namespace

const char *panelFile() {
    static const std::string file = findPanelFile();
    return file.c_str();
}
