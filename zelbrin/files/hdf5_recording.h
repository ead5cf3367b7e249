// A recording as an HDF5 file of the recording library (docs/recording-format.md): one
// float64 column per value of the CSV row, the tick times among them, with the
// calibration and intervals in its attributes.  A build without HDF5 refuses it.
#ifndef ZELBRIN_FILES_HDF5_RECORDING_H
#define ZELBRIN_FILES_HDF5_RECORDING_H

#include "recording_file.h"

namespace zelbrin {

// False where the program was built without HDF5.
extern const bool hdf5RecordingBuilt;

std::unique_ptr<RecordingFile> openHdf5Recording(const std::string &path,
                                                 const RecordingStart &start, std::string &why);

} // namespace zelbrin

#endif
