// The one way every public operation leaves: argument checks first, then driver steps
// that stop at the first negative status, then finish(), which records the status and,
// for a driver failure, fetches the driver's description into the error text.
//
//     ORVEX_CHECK(port < PORT_SIZE, checks::portOutPort);
//     int32 status = 1;
//     ORVEX_TRY(status, DAQmxWriteDigitalU8(...));
//     return finish(status);
#ifndef ORVEX_SRC_CORE_OPERATION_ENDING_H
#define ORVEX_SRC_CORE_OPERATION_ENDING_H

#include "daqmx/daqmx.h"

namespace orvex {

// Where an argument check sits and what it prints.  A null message gives the
// three-field form of the check text.
struct CheckSite {
    int line;
    const char *expression;
    const char *message;
};

// Records the status and returns it; the only exit of a public operation.  A negative
// status that the library did not produce itself (refuse, noProgress) is the driver's: its
// description goes into the error text, or, when the driver gives none, a text that says
// so and names the status.
int finish(int32 status);

// Writes the check's message into the error text and finishes with -1.
int refuse(const CheckSite &site);

// No memory for the bookkeeping of a task about to be created: writes the explanation
// into the error text and returns ORVEX_STATUS_NO_MEMORY, which the caller must hand to
// finish() before any other driver call.
int32 noMemory();
// The same for other memory the library needs: `consequence` says what was not done.
int32 noMemory(const char *consequence);

// A clocked block stalled: the driver reported success but moved no sample.  Writes
// the explanation into the error text and returns ORVEX_STATUS_NO_PROGRESS, which the
// caller must hand to finish() before any other driver call.
int32 noProgress(int samplesDone, int blockSize);

} // namespace orvex

#define ORVEX_CHECK(condition, site)                                                               \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            return ::orvex::refuse(site);                                                          \
        }                                                                                          \
    } while (0)

#define ORVEX_TRY(status, step)                                                                    \
    do {                                                                                           \
        (status) = (step);                                                                         \
        if ((status) < 0) {                                                                        \
            return ::orvex::finish(status);                                                        \
        }                                                                                          \
    } while (0)

#endif
