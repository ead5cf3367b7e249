// Recording: while the Record switch is on, every sampling tick adds one row to a file
// the user picked, CSV or HDF5 by its name (recording_file.h): the time, both voltages,
// the calibrated X and Y, and the bits of ports 0 and 1 as the indicators show them.
#ifndef ZELBRIN_FILES_RECORDING_H
#define ZELBRIN_FILES_RECORDING_H

#include <string>

namespace zelbrin {

struct RecordedSample {
    double ai2;
    double ai3;
    double x; // calibrated, after the swap
    double y;
};

// Does nothing unless a recording runs.
void recordSample(int panel, const RecordedSample &sample);
// Starts recording to path without asking, with the Record switch on, for a stand that
// records unattended (--record); what goes wrong also goes to the error output.
void recordFromStart(int panel, const std::string &path);
// Ends a running recording (at close): what was written stays in the file.
void stopRecording();

} // namespace zelbrin

extern "C" int recordCB(int panel, int control, int event, void *callbackData, int eventData1,
                        int eventData2);

#endif
