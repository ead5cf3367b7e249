/* A triggered, clocked acquisition.  ao0 generates a repeating ramp from -2 V to +2 V
 * (100 samples at 1000 per second); over the stand's loopback ai0 sees it, and a read
 * of ai0 at 10000 samples per second starts when ai0 rises through 1 V.
 *
 *     ORVEX_DRIVER=.../liborvex_simboard.so ./triggered_acquisition
 */
#include "check_status.h"

#include <orvex.h>

#include <stdio.h>

enum { RAMP_SAMPLES = 100, READ_SAMPLES = 200 };

int main(void) {
    static double ramp[RAMP_SAMPLES];
    static double samples[READ_SAMPLES];
    int read = 0;
    int i;

    for (i = 0; i < RAMP_SAMPLES; ++i) {
        ramp[i] = -2.0 + 4.0 * i / RAMP_SAMPLES;
    }
    check(orvex_analogOutClk("OnboardClock", 1000.0));
    check(orvex_analogWrite(0, ramp, RAMP_SAMPLES)); /* keeps generating */

    check(orvex_analogInClk("OnboardClock", 10000.0));
    check(orvex_analogInTrigger("PXI1Slot2/ai0", 1.0));
    check(orvex_analogReadEx(0, samples, READ_SAMPLES, &read, 5.0));

    printf("read %d samples\n", read);
    printf("first %.4f V\n", samples[0]);
    printf("last %.4f V\n", samples[READ_SAMPLES - 1]);

    check(orvex_analogOutStop(0));
    return check(orvex_ni6251Close());
}
