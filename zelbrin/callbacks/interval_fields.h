// What both interval fields do, the sampling interval's and the refresh interval's.
#ifndef ZELBRIN_CALLBACKS_INTERVAL_FIELDS_H
#define ZELBRIN_CALLBACKS_INTERVAL_FIELDS_H

namespace zelbrin {

// On commit the timer gets the interval (seconds) shown in the field, unchanged; the
// runtime refuses one that is not positive and keeps the old interval.  An entry the field
// refused is told in the window's message line.
void intervalFieldEvent(int panel, int field, int event, int timer, const char *what);

} // namespace zelbrin

#endif
