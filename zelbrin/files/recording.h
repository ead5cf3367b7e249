// Recording: while the Record switch is on, every sampling tick adds one row to a CSV
// file the user picked: the time, both voltages, the calibrated X and Y, and the bits of
// ports 0 and 1 as the indicators show them.  A value whose read failed is left empty.
#ifndef ZELBRIN_FILES_RECORDING_H
#define ZELBRIN_FILES_RECORDING_H

namespace zelbrin {

struct RecordedSample {
    double ai2;
    double ai3;
    double x; // calibrated, after the swap
    double y;
};

// Does nothing unless a recording runs.
void recordSample(int panel, const RecordedSample &sample);
// Ends a running recording (at close): what was written stays in the file.
void stopRecording();

} // namespace zelbrin

extern "C" int recordCB(int panel, int control, int event, void *callbackData, int eventData1,
                        int eventData2);

#endif
