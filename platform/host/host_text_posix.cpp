#include "host/host_text.h"

#include <cstdlib>

namespace host {

std::string environment(const char *name) {
    const char *value = std::getenv(name);
    return value != nullptr ? value : "";
}

std::FILE *openFile(const std::string &utf8Path, const char *mode) {
    return std::fopen(utf8Path.c_str(), mode);
}

} // namespace host
