// A recording as CSV: comment lines saying what it was made with, the column names, then
// one row per tick with the ports as bits 7 to 0; a value not known is left empty.
#ifndef ZELBRIN_FILES_CSV_RECORDING_H
#define ZELBRIN_FILES_CSV_RECORDING_H

#include "recording_file.h"

namespace zelbrin {

std::unique_ptr<RecordingFile> openCsvRecording(const std::string &path,
                                                const RecordingStart &start, std::string &why);

} // namespace zelbrin

#endif
