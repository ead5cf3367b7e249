// Three-point calibration of one joystick axis: full negative deflection, centre and
// full positive deflection map to -1, 0 and +1, linearly on each side of the centre.
#ifndef ZELBRIN_LOGIC_CALIBRATION_H
#define ZELBRIN_LOGIC_CALIBRATION_H

namespace zelbrin {

struct Calibration {
    double min;
    double mid;
    double max;
};

// Not clamped: beyond max gives more than +1.  A side of zero span gives 0 at the centre
// and +1 or -1 beyond it; a voltage that is not a number gives not a number.
double calibratedPosition(double volts, const Calibration &cal);

} // namespace zelbrin

#endif
