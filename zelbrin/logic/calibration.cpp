#include "calibration.h"

#include <cmath>

namespace zelbrin {

namespace {

// Where a side has no span the centre is its only voltage, so anything past it is as far
// as that side goes.
double alongSide(double offset, double span, double fullDeflection) {
    if (span == 0.0) {
        return offset == 0.0 ? 0.0 : fullDeflection;
    }
    return offset / span;
}

} // namespace

double calibratedPosition(double volts, const Calibration &cal) {
    if (std::isnan(volts)) {
        return volts;
    }
    const double offset = volts - cal.mid;
    if (volts >= cal.mid) {
        return alongSide(offset, cal.max - cal.mid, 1.0);
    }
    return alongSide(offset, cal.mid - cal.min, -1.0);
}

} // namespace zelbrin
