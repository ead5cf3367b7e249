#include "recording_commands.h"

#include "core/tool_errors.h"

namespace orvex_cli {
namespace {

[[noreturn]] void refuse(const char *what) {
    throw UsageError(std::string(what) + " needs HDF5, and this build of orvex has none");
}

} // namespace

AcquisitionResult acquireToRecording(const AcquisitionRequest &, Session &) {
    refuse("--format h5");
}

void runRecorder(const std::string &, Session &) {
    refuse("'orvex record'");
}

} // namespace orvex_cli
