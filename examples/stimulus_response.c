/* A stimulus and its response, aligned to the sample: a step from 0 to 1 V on ao0,
 * generated on the scan's own sample clock and started by the scan's start, read back on
 * ai0 (wired to ao0) and ai1.  The step is written at scan 500, and the program prints
 * the scan where ai0 sees it.
 *
 *     ORVEX_DRIVER=.../liborvex_simboard.so ./stimulus_response
 */
#include "check_status.h"

#include <orvex.h>

#include <stdio.h>

enum { SCANS = 1000, STEP_AT = 500 };

/* The first scan where the samples reach the level, or `count` when none does. */
static int firstReaching(const double *samples, int count, double level) {
    int n = 0;
    while (n < count && samples[n] < level) {
        ++n;
    }
    return n;
}

int main(void) {
    static double step[SCANS];
    static double data[2 * SCANS];
    const double *ai0 = data; /* grouped by channel: ai0's samples, then ai1's */
    int read = 0;
    int n;

    for (n = 0; n < SCANS; ++n) {
        step[n] = n < STEP_AT ? 0.0 : 1.0;
    }
    check(orvex_scanChannels("ai0:1", 2.0, ORVEX_RSE));
    check(orvex_scanClock(10000.0));
    check(orvex_scanOutput("ao0", step, SCANS, 1, 0.0)); /* on the scan's clock */
    check(orvex_scanAcquire(data, SCANS, ORVEX_BY_CHANNEL, &read, 5.0));
    check(orvex_scanOutput(NULL, NULL, 0, 0, 0.0)); /* no generation with later scans */

    printf("read %d scans\n", read);
    printf("step written at scan %d\n", STEP_AT);
    printf("step seen at scan %d\n", firstReaching(ai0, read, 0.5));
    return check(orvex_ni6251Close());
}
