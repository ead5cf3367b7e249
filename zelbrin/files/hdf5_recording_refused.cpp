// The build without HDF5 (the Windows one): an HDF5 recording is refused, naming what to
// do instead.
#include "hdf5_recording.h"

namespace zelbrin {

const bool hdf5RecordingBuilt = false;

std::unique_ptr<RecordingFile> openHdf5Recording(const std::string &, const RecordingStart &,
                                                 std::string &why) {
    why = "this Zelbrin was built without HDF5; record to a .csv file instead";
    return nullptr;
}

} // namespace zelbrin
