// The commands that write the recording library's HDF5 files.  A build without HDF5 has
// them refuse with a usage error before any board call.
#ifndef TOOLS_ORVEX_CLI_RECORD_RECORDING_COMMANDS_H
#define TOOLS_ORVEX_CLI_RECORD_RECORDING_COMMANDS_H

#include "acquisition/acquisition.h"
#include "core/session.h"

#include <string>

namespace orvex_cli {

// `ai acquire ... --format h5 -o FILE`: the request's scan into one file.  Throws as
// acquire() does.
AcquisitionResult acquireToRecording(const AcquisitionRequest &request, Session &session);

// `record CONFIG`: an unattended recording until SIGTERM or Ctrl-C.  Throws UsageError
// for a bad configuration and CommandFailed when a file fails.
void runRecorder(const std::string &configPath, Session &session);

} // namespace orvex_cli

#endif
