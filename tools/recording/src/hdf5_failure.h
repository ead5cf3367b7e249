// HDF5 failures as RecordingError, with the library's own innermost reason (for a file
// write, the system's errno text), since its automatic printing is turned off.
#ifndef TOOLS_RECORDING_SRC_HDF5_FAILURE_H
#define TOOLS_RECORDING_SRC_HDF5_FAILURE_H

#include "hdf5_handle.h"

#include <string>

namespace recording {

// Keeps HDF5 from printing its error stack to standard error; the recorder reports.
void silenceHdf5Errors();

[[noreturn]] void throwHdf5Failure(const std::string &what);

// `id`, owned, or RecordingError("cannot <what>: <reason>") when HDF5 refused.
Hdf5Handle checked(hid_t id, Hdf5Close close, const std::string &what);
void checked(herr_t status, const std::string &what);

} // namespace recording

#endif
