// The analog side of the panel: analog inputs 2 and 3 shown as voltages and as raw and
// calibrated points on the graph, the sampling timer and the calibration button.
#ifndef ZELBRIN_CALLBACKS_ANALOG_MONITOR_H
#define ZELBRIN_CALLBACKS_ANALOG_MONITOR_H

#include "logic/calibration.h"
#include "logic/sample_plot.h"

namespace zelbrin {

extern Calibration calX;
extern Calibration calY;
// The previous tick's voltages and calibrated positions: where trace segments start.
extern TracePoint prevPoint;

} // namespace zelbrin

extern "C" {
int timerReadAICB(int panel, int control, int event, void *callbackData, int eventData1,
                  int eventData2);
int readAiIntervalCB(int panel, int control, int event, void *callbackData, int eventData1,
                     int eventData2);
int JCalibrateCB(int panel, int control, int event, void *callbackData, int eventData1,
                 int eventData2);
}

#endif
