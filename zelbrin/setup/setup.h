// A lab set-up: what a user sets on the window and wants back at the next start or on
// another stand: the calibration in effect, both intervals, the plot mode, the point and
// swap switches and the axis ranges.  Board state is no part of it.
#ifndef ZELBRIN_SETUP_H
#define ZELBRIN_SETUP_H

#include "logic/calibration.h"

#include <map>
#include <string>
#include <variant>

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

// A set-up as it is stored: text under keys named "group/key" ("calibration/xMin"), or
// "key" alone for the keys of no group ("format").
using SetupValues = std::map<std::string, std::string>;

// All or nothing: a missing, foreign or out-of-range key refuses the whole set-up.  Keys
// it does not know are left alone: the user's settings keep the window's place beside it.
std::variant<Setup, SetupRefusal> readSetup(const SetupValues &values);
SetupValues valuesOfSetup(const Setup &setup);

} // namespace zelbrin

#endif
