// Where a worker's scans come from: the board through the library, or, in the tests, a
// signal of their own.
#ifndef TOOLS_ORVEX_SCOPE_ACQUISITION_SCAN_SOURCE_H
#define TOOLS_ORVEX_SCOPE_ACQUISITION_SCAN_SOURCE_H

#include "scan_plan.h"

#include <QString>
#include <functional>
#include <memory>

namespace scope {

class ScanSource {
  public:
    // The status of a start refused because another task, of this process or another,
    // holds the converter.
    static constexpr int converterHeld = -50103;
    static constexpr int timedOut = -200284;

    virtual ~ScanSource() = default;
    // Sets the scan up as planned and starts it: 0 or a warning, or a negative status
    // with lastError() saying why, and nothing left running.
    virtual int start(const ScanPlan &plan) = 0;
    // Whole scans, one sample of each channel after another, into data.
    virtual int read(double *data, int scans, int *count, double timeout) = 0;
    // Makes every line of a digital port an input, for reading: 0 or a warning, or a
    // negative status with lastError() saying why (another program's task holds the port).
    virtual int takePort(int port) = 0;
    // The eight lines of a port taken, bit n line n.
    virtual int readPort(int port, unsigned char *levels) = 0;
    // Stops and releases the scan and the ports taken; the samples per channel it counted.
    virtual long long stop() = 0;
    virtual QString lastError() const = 0;
    // Scans per second as the clock runs, once started.
    virtual double rate() const = 0;
};

using ScanSourceMaker = std::function<std::unique_ptr<ScanSource>()>;

// The board, through the orvex library.
std::unique_ptr<ScanSource> boardScanSource();

} // namespace scope

#endif
