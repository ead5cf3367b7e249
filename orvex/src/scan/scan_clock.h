// The system clock as UTC seconds, read around a driver call to date a scan's first sample.
#ifndef ORVEX_SRC_SCAN_SCAN_CLOCK_H
#define ORVEX_SRC_SCAN_SCAN_CLOCK_H

namespace orvex {

// Seconds since 1970-01-01 UTC, leap seconds not counted, as the system clock tells them.
double utcNow();

// A moment known to lie between two readings of the clock.
struct Bracket {
    double before = 0.0;
    double after = 0.0;

    double middle() const { return (before + after) / 2.0; }
    double halfWidth() const { return (after - before) / 2.0; }
};

} // namespace orvex

#endif
