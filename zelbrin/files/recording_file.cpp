#include "recording_file.h"

#include "csv_recording.h"
#include "hdf5_recording.h"

#include <QFileInfo>

namespace zelbrin {

bool isHdf5FileName(const std::string &path) {
    const QString suffix = QFileInfo(QString::fromLocal8Bit(path.c_str())).suffix().toLower();
    return suffix == "h5" || suffix == "hdf5";
}

std::unique_ptr<RecordingFile> openRecordingFile(const std::string &path,
                                                 const RecordingStart &start, std::string &why) {
    return isHdf5FileName(path) ? openHdf5Recording(path, start, why)
                                : openCsvRecording(path, start, why);
}

} // namespace zelbrin
