// A lab set-up: what a user sets on the window and wants back at the next start or on
// another stand: the calibration in effect, both intervals, the plot mode, the point and
// swap switches and the axis ranges.  Board state is no part of it.
#ifndef ZELBRIN_FILES_SETUP_H
#define ZELBRIN_FILES_SETUP_H

#include "logic/calibration.h"

#include <string>
#include <variant>

class QSettings;

namespace zelbrin {

struct AxisSpan {
    double min;
    double max;
};

struct Setup {
    Calibration x;
    Calibration y;
    double refreshSeconds;
    double sampleSeconds;
    int plotMode;
    bool showRaw;
    bool showCalibrated;
    bool swap;
    AxisSpan xAxis;
    AxisSpan yAxis;
};

// Why a stored set-up was not taken: the key at fault and what is wrong with it.
struct SetupRefusal {
    std::string key;
    std::string why;
};

// All or nothing: a missing, foreign or out-of-range key refuses the whole set-up.
std::variant<Setup, SetupRefusal> readSetup(const QSettings &store);
void writeSetup(QSettings &store, const Setup &setup);

// The set-up the window shows now, and putting one on it (controls, timers, calibration,
// axes and axis titles).
Setup setupOfWindow(int panel);
void applySetup(int panel, const Setup &setup);

} // namespace zelbrin

#endif
