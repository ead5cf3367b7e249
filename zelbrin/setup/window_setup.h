// The set-up the window shows now, and putting one on it: the calibration in effect, the
// fields and timers of both intervals, the plot switches, the axes and their titles.
#ifndef ZELBRIN_SETUP_WINDOW_SETUP_H
#define ZELBRIN_SETUP_WINDOW_SETUP_H

#include "setup.h"

namespace zelbrin {

Setup setupOfWindow(int panel);
void applySetup(int panel, const Setup &setup);

} // namespace zelbrin

#endif
